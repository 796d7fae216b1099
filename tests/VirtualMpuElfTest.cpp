// The virtual MPU's ELF file, read with the binutils a developer would use on a firmware image:
// its variables must sit where the simulator serves them, and its constants must hold what the
// simulator answers there.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TemporaryFolder.h"
#include "firmware/FirmwareSymbols.h"
#include "firmware/VariableParts.h"
#include "tools/mpu-sim/MemoryMap.h"

namespace ondrix::mpusim {
namespace {

struct ElfCopy {
    std::string label;
    std::string path;   // empty: this copy was not built
    std::string tools;  // binutils prefix that understands the file
    std::map<std::string, std::string> header;  // readelf -h fields this copy must have
};

void PrintTo(const ElfCopy& copy, std::ostream* out) { *out << copy.label << " " << copy.path; }

std::vector<ElfCopy> ElfCopies() {
    return {
        {"host", ONDRIX_VIRTUAL_MPU_ELF, "", {{"Type", "EXEC (Executable file)"}}},
        {"arm",
         ONDRIX_VIRTUAL_MPU_ARM_ELF,
         ONDRIX_VIRTUAL_MPU_ARM_TOOLS,
         {{"Type", "EXEC (Executable file)"}, {"Class", "ELF32"}, {"Machine", "ARM"}}},
    };
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "  Class:    ELF64" lines as Class -> ELF64.
std::map<std::string, std::string> HeaderFields(const std::string& readelf) {
    std::map<std::string, std::string> fields;
    for (const std::string& line : Lines(readelf)) {
        const size_t colon = line.find(':');
        if (colon != std::string::npos) fields[Trimmed(line.substr(0, colon))] = Trimmed(line.substr(colon + 1));
    }
    return fields;
}

struct Symbol {
    uint64_t address = 0;
    uint64_t size = 0;
};

// nm -S lines: address, size, type letter, name. Symbols without a size have three fields.
std::map<std::string, Symbol> SizedSymbols(const std::string& nm) {
    std::map<std::string, Symbol> symbols;
    for (const std::string& line : Lines(nm)) {
        std::istringstream fields(line);
        std::string address, size, type, name;
        if (fields >> address >> size >> type >> name)
            symbols[name] = {std::stoull(address, nullptr, 16), std::stoull(size, nullptr, 16)};
    }
    return symbols;
}

// The names the debug information gives to variables, types and members.
std::vector<std::string> DebugNames(const std::string& dump) {
    std::vector<std::string> names;
    for (const std::string& line : Lines(dump)) {
        if (line.find("DW_AT_name") == std::string::npos) continue;
        const size_t colon = line.rfind(':');
        if (colon != std::string::npos) names.push_back(Trimmed(line.substr(colon + 1)));
    }
    return names;
}

class VirtualMpuElfTest : public testing::TestWithParam<ElfCopy> {
protected:
    void SetUp() override {
        if (GetParam().path.empty())
            GTEST_SKIP() << "arm-none-eabi-gcc was not on PATH when the build was configured";
    }

    // What the tool printed on standard output; fails the test if the tool failed.
    std::string Run(const std::string& tool, const std::string& arguments) const {
        const std::string command = GetParam().tools + tool + " " + arguments;
        const std::optional<std::string> output = test::Output(command);
        EXPECT_TRUE(output) << command << " failed";
        return output.value_or("");
    }

    std::string Elf() const { return Quoted(GetParam().path); }
};

TEST_P(VirtualMpuElfTest, IsALittleEndianExecutableForItsTarget) {
    const std::map<std::string, std::string> fields = HeaderFields(Run("readelf", "-h " + Elf()));
    // The simulator and the scope both read words low byte first.
    EXPECT_EQ(fields.count("Data") ? fields.at("Data") : "", "2's complement, little endian");
    for (const auto& [field, expected] : GetParam().header) {
        ASSERT_TRUE(fields.count(field)) << field;
        EXPECT_EQ(fields.at(field), expected) << field;
    }
}

TEST_P(VirtualMpuElfTest, EveryVariableIsAtTheAddressTheSimulatorServes) {
    struct Expected {
        const char* name;
        uint32_t address;
        uint64_t size;
    };
    const Expected table[] = {
        {"sine", kSineAddress, 2},
        {"cosine", kCosineAddress, 2},
        {"triangle", kTriangleAddress, 2},
        {"square", kSquareAddress, 2},
        {"sawtooth", kSawtoothAddress, 2},
        {"noise", kNoiseAddress, 2},
        {"damped", kDampedAddress, 2},
        {"slow_counter", kSlowCounterAddress, 2},
        {"sample_counter", kSampleCounterAddress, 2},
        {"constants", kConstantOneAddress, kConstantMinAddress + 2 - kConstantOneAddress},
    };
    const std::map<std::string, Symbol> symbols = SizedSymbols(Run("nm", "-S --defined-only " + Elf()));
    for (const Expected& expected : table) {
        SCOPED_TRACE(expected.name);
        ASSERT_TRUE(symbols.count(expected.name));
        EXPECT_EQ(symbols.at(expected.name).address, expected.address);
        EXPECT_EQ(symbols.at(expected.name).size, expected.size);
    }
}

TEST_P(VirtualMpuElfTest, ConstantsHoldWhatTheSimulatorServes) {
    const test::TemporaryFolder folder;
    const std::string ram = (folder.Path() / "ram.bin").string();
    Run("objcopy", "-O binary -j .mpu_ram " + Elf() + " " + Quoted(ram));
    const std::string bytes = test::ReadFile(ram);
    ASSERT_EQ(bytes.size(), kRamSize) << "the section must cover the simulator's whole RAM";

    const MemoryMap simulator;
    const auto wordInElf = [&bytes](uint32_t address) {
        const size_t offset = address - kRamBase;
        return static_cast<uint16_t>(static_cast<uint8_t>(bytes[offset]) |
                                     static_cast<uint8_t>(bytes[offset + 1]) << 8);
    };
    for (const uint32_t address : {kConstantOneAddress, kConstantMinusOneAddress, kConstant256Address,
                                   kConstant4660Address, kConstantMaxAddress, kConstantMinAddress}) {
        SCOPED_TRACE(testing::Message() << std::hex << "0x" << address);
        EXPECT_EQ(wordInElf(address), simulator.ReadWord(address));
    }
}

TEST_P(VirtualMpuElfTest, DebugInformationNamesTheConstantsMembers) {
    const std::vector<std::string> names = DebugNames(Run("readelf", "--debug-dump=info " + Elf()));
    for (const char* name : {"constants", "one", "minus_one", "k256", "k4660", "max", "min", "sample_counter"})
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
}

INSTANTIATE_TEST_SUITE_P(Targets, VirtualMpuElfTest, testing::ValuesIn(ElfCopies()),
                         [](const testing::TestParamInfo<ElfCopy>& info) { return info.param.label; });

// The firmware reader sees one memory map in the 64-bit host copy and in the 32-bit ARM copy:
// the same variables at the same addresses with the same sizes, types and kinds.
TEST(VirtualMpuElfReading, BothCopiesReadTheSame) {
    const std::string arm = ONDRIX_VIRTUAL_MPU_ARM_ELF;
    if (arm.empty()) GTEST_SKIP() << "arm-none-eabi-gcc was not on PATH when the build was configured";
    const auto listing = [](const std::string& elf) {
        std::vector<std::string> lines;
        ForEachPath(ReadFirmwareSymbols(elf), 64, [&lines](const FirmwareVariable& v) {
            lines.push_back(v.path + " " + std::to_string(v.address.value_or(0)) + " " + std::to_string(v.byteSize) +
                            " " + v.typeName + " " + VariableKindText(v.kind));
            return true;
        });
        return lines;
    };
    const std::vector<std::string> host = listing(ONDRIX_VIRTUAL_MPU_ELF);
    EXPECT_EQ(host.size(), 16u) << "nine variables, the constants and their six members";
    EXPECT_EQ(listing(arm), host);
}

}  // namespace
}  // namespace ondrix::mpusim
