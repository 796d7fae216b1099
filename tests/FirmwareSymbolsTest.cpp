// Firmware images built from tests/firmware with the host's own compilers, read back: every
// address listed must be the one the linker gave (as nm reports it), for each shape a firmware
// keeps its state in, whichever DWARF version describes it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "TemporaryFolder.h"
#include "firmware/FirmwareSymbols.h"
#include "firmware/VariableParts.h"

namespace ondrix {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

std::string Source(const char* name) { return Quoted(std::string(ONDRIX_FIRMWARE_SOURCES) + "/" + name); }

// The symbols of `file` with their addresses, C++ names demangled.
std::map<std::string, uint64_t> NmAddresses(const fs::path& file) {
    std::map<std::string, uint64_t> addresses;
    std::unique_ptr<FILE, int (*)(FILE*)> nm(popen(("nm -C " + Quoted(file.string())).c_str(), "r"), pclose);
    if (!nm) return addresses;
    char line[512];
    while (std::fgets(line, sizeof line, nm.get())) {
        unsigned long long address = 0;
        char type = 0;
        char name[400];
        if (std::sscanf(line, "%llx %c %399[^\n]", &address, &type, name) == 3) addresses[name] = address;
    }
    return addresses;
}

// Every variable with every member and element, as --list writes them.
std::vector<FirmwareVariable> Paths(const FirmwareSymbols& symbols) {
    std::vector<FirmwareVariable> paths;
    ForEachPath(symbols, 64, [&paths](const FirmwareVariable& variable) {
        paths.push_back(variable);
        return true;
    });
    return paths;
}

const FirmwareVariable* Find(const std::vector<FirmwareVariable>& paths, const std::string& path) {
    for (const FirmwareVariable& variable : paths)
        if (variable.path == path) return &variable;
    return nullptr;
}

using Row = std::tuple<std::string, std::optional<uint64_t>, uint64_t, std::string, VariableKind, int, int>;

std::vector<Row> Rows(const FirmwareSymbols& symbols) {
    std::vector<Row> rows;
    for (const FirmwareVariable& v : Paths(symbols))
        rows.emplace_back(v.path, v.address, v.byteSize, v.typeName, v.kind, v.bitOffset, v.bitSize);
    std::sort(rows.begin(), rows.end());
    return rows;
}

class FirmwareImages : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<test::TemporaryFolder>();
        const std::string cSources = Source("motor_control.c") + " " + Source("motor_speed.c");
        const std::string cxxSources = Source("drive.cpp");
        for (const char* dwarf : {"4", "5"}) {
            Link(ONDRIX_HOST_C_COMPILER, std::string("-O0 -g -gdwarf-") + dwarf, cSources, std::string("c") + dwarf);
            Link(ONDRIX_HOST_CXX_COMPILER, std::string("-O0 -g -gdwarf-") + dwarf, cxxSources,
                 std::string("cxx") + dwarf);
        }
        Link(ONDRIX_HOST_C_COMPILER, "-O0 -g0", cSources, "c_plain");
    }
    static void TearDownTestSuite() { folder_.reset(); }

    // Builds a position-dependent executable, so that nm shows the very addresses a debugger
    // would; fails the suite with the compiler's words when it cannot.
    static void Link(const std::string& compiler, const std::string& flags, const std::string& sources,
                     const std::string& name) {
        const fs::path log = folder_->Path() / (name + ".log");
        const std::string command = Quoted(compiler) + " " + flags + " -no-pie -o " + Quoted(Image(name).string()) +
                                    " " + sources + " >" + Quoted(log.string()) + " 2>&1";
        if (std::system(command.c_str()) != 0) {
            std::ifstream text(log);
            FAIL() << command << "\n" << text.rdbuf();
        }
    }

    static fs::path Image(const std::string& name) { return folder_->Path() / name; }

    static std::unique_ptr<test::TemporaryFolder> folder_;
};

std::unique_ptr<test::TemporaryFolder> FirmwareImages::folder_;

struct Expected {
    std::string path;
    std::string symbol;  // as nm names it
    uint64_t offset;     // from that symbol's address
    uint64_t byteSize;
    std::string typeName;
    VariableKind kind;
    int bitOffset = 0;
    int bitSize = 0;
};

void ExpectAtLinkedAddresses(const fs::path& image, const std::vector<Expected>& cases) {
    const FirmwareSymbols read = ReadFirmwareSymbols(image.string());
    EXPECT_TRUE(read.fromDebugInfo);
    const std::vector<FirmwareVariable> symbols = Paths(read);
    const auto nm = NmAddresses(image);
    for (const Expected& expected : cases) {
        SCOPED_TRACE(image.filename().string() + " " + expected.path);
        const FirmwareVariable* variable = Find(symbols, expected.path);
        ASSERT_NE(variable, nullptr);
        ASSERT_EQ(nm.count(expected.symbol), 1u);
        ASSERT_TRUE(variable->address.has_value());
        EXPECT_EQ(*variable->address, nm.at(expected.symbol) + expected.offset);
        EXPECT_EQ(variable->byteSize, expected.byteSize);
        EXPECT_EQ(variable->typeName, expected.typeName);
        EXPECT_EQ(variable->kind, expected.kind);
        EXPECT_EQ(variable->bitOffset, expected.bitOffset);
        EXPECT_EQ(variable->bitSize, expected.bitSize);
    }
}

TEST_F(FirmwareImages, CShapesAreListedAtTheLinkersAddresses) {
    using K = VariableKind;
    const std::vector<Expected> cases = {
        // An array of structs holding a struct behind a typedef.
        {"motor", "motor", 0, 36, "struct Motor[3]", K::Array},
        {"motor[1]", "motor", 12, 12, "struct Motor", K::Struct},
        {"motor[1].current", "motor", 14, 6, "PhaseCurrents", K::Struct},
        {"motor[1].current.a", "motor", 14, 2, "int16_t", K::SignedInteger},
        {"motor[2].current.c", "motor", 30, 2, "int16_t", K::SignedInteger},
        {"motor[2].torque", "motor", 32, 4, "float", K::Float},
        // Nested structs, one of them without a name of its own.
        {"controller", "controller", 0, 20, "struct Controller", K::Struct},
        {"controller.main.current.b", "controller", 4, 2, "int16_t", K::SignedInteger},
        {"controller.loop", "controller", 12, 8, "(anonymous struct)", K::Struct},
        {"controller.loop.setpoint", "controller", 16, 4, "int32_t", K::SignedInteger},
        {"word", "word", 0, 4, "union Word", K::Union},
        {"word.whole", "word", 0, 4, "uint32_t", K::UnsignedInteger},
        {"word.bytes[3]", "word", 3, 1, "uint8_t", K::UnsignedInteger},
        // Bit fields: the byte holding the first bit, then bits from the least significant.
        {"flags.ready", "flags", 0, 1, "unsigned int", K::BitField, 0, 1},
        {"flags.mode", "flags", 0, 1, "unsigned int", K::BitField, 1, 3},
        {"flags.count", "flags", 0, 2, "unsigned int", K::BitField, 4, 12},
        {"flags.offset", "flags", 2, 1, "int", K::BitField, 0, 5},
        {"mode", "mode", 0, 4, "enum Mode", K::Enum},
        {"gain", "gain", 0, 8, "double", K::Float},
        // Qualifiers and typedefs keep the names the source gave them.
        {"sample", "sample", 0, 2, "volatile Sample", K::SignedInteger},
        {"limit", "limit", 0, 4, "const int32_t", K::SignedInteger},
        {"statusRegister", "statusRegister", 0, 8, "volatile uint16_t * const", K::Pointer},
        {"fileScopeCounter", "fileScopeCounter", 0, 2, "volatile int16_t", K::SignedInteger},
        {"grid", "grid", 0, 24, "int[2][3]", K::Array},
        {"grid[1]", "grid", 12, 12, "int[3]", K::Array},
        {"grid[1][2]", "grid", 20, 4, "int", K::SignedInteger},
        {"buffer", "buffer", 0, 2000, "uint16_t[1000]", K::Array},
        {"buffer[63]", "buffer", 126, 2, "uint16_t", K::UnsignedInteger},
        {"buffer[999]", "buffer", 1998, 2, "uint16_t", K::UnsignedInteger},
    };
    for (const char* image : {"c4", "c5"}) ExpectAtLinkedAddresses(Image(image), cases);
}

TEST_F(FirmwareImages, CxxNamesAreQualified) {
    using K = VariableKind;
    const std::vector<Expected> cases = {
        {"drive::loop::integral", "drive::loop::integral", 0, 4, "int32_t", K::SignedInteger},
        {"drive::limit", "drive::limit", 0, 2, "uint16_t", K::UnsignedInteger},
        {"drive::gains", "drive::gains", 0, 8, "drive::Gains", K::Struct},
        {"drive::gains.ki", "drive::gains", 4, 4, "float", K::Float},
        // A static member, declared in its class and defined outside it.
        {"drive::Pid::instances", "drive::Pid::instances", 0, 2, "int16_t", K::SignedInteger},
        {"(anonymous namespace)::hidden", "(anonymous namespace)::hidden", 0, 4, "int", K::SignedInteger},
    };
    for (const char* image : {"cxx4", "cxx5"}) ExpectAtLinkedAddresses(Image(image), cases);
}

TEST_F(FirmwareImages, Dwarf4And5GiveTheSameList) {
    for (const auto& [four, five] : {std::pair{"c4", "c5"}, std::pair{"cxx4", "cxx5"}}) {
        SCOPED_TRACE(four);
        const auto rows = Rows(ReadFirmwareSymbols(Image(four).string()));
        EXPECT_FALSE(rows.empty());
        EXPECT_EQ(rows, Rows(ReadFirmwareSymbols(Image(five).string())));
    }
}

TEST_F(FirmwareImages, ListsEachStaticVariableOnceAndNothingElse) {
    const std::vector<FirmwareVariable> symbols = Paths(ReadFirmwareSymbols(Image("c5").string()));
    std::set<std::string> paths;
    std::set<std::pair<std::string, std::string>> inFiles;
    for (const FirmwareVariable& variable : symbols) {
        paths.insert(variable.path);
        EXPECT_TRUE(inFiles.emplace(variable.path, variable.sourceFile).second) << variable.path << " is listed twice";
    }
    // The second unit only declares the motors; a local variable has no fixed address; an
    // array has the elements its bound gives.
    for (const char* absent : {"local", "main", "motor_speed_sum", "buffer[1000]"})
        EXPECT_EQ(paths.count(absent), 0u) << absent;
    const FirmwareVariable* perThread = Find(symbols, "perThreadErrors");
    ASSERT_NE(perThread, nullptr);
    EXPECT_FALSE(perThread->address.has_value());
    EXPECT_EQ(perThread->typeName, "int");
}

// Where a section's bytes are in the file, as readelf reports it: offset and size.
std::pair<uint64_t, uint64_t> SectionPlace(const fs::path& file, const std::string& section) {
    std::unique_ptr<FILE, int (*)(FILE*)> readelf(popen(("readelf -SW " + Quoted(file.string())).c_str(), "r"), pclose);
    char line[512];
    while (readelf && std::fgets(line, sizeof line, readelf.get())) {
        char name[64], type[32];
        unsigned long long address = 0, offset = 0, size = 0;
        const char* start = std::strchr(line, ']');
        if (start && std::sscanf(start + 1, "%63s %31s %llx %llx %llx", name, type, &address, &offset, &size) == 5 &&
            name == section)
            return {offset, size};
    }
    return {0, 0};
}

// The addresses nm gives the symbols whose names start with `prefix` ("calls." for gcc's
// "calls.0").
std::vector<uint64_t> NmAddressesStartingWith(const fs::path& image, const std::string& prefix) {
    std::vector<uint64_t> addresses;
    for (const auto& [name, address] : NmAddresses(image))
        if (name.rfind(prefix, 0) == 0) addresses.push_back(address);
    return addresses;
}

TEST_F(FirmwareImages, FunctionStaticsAndStaticsOfOneNameInTwoFiles) {
    for (const char* dwarf : {"4", "5"}) {
        SCOPED_TRACE(dwarf);
        const fs::path c = Image(std::string("c") + dwarf);
        const FirmwareSymbols symbols = ReadFirmwareSymbols(c.string());
        const FirmwareVariable* calls = Find(symbols.variables, "main::calls");
        ASSERT_NE(calls, nullptr);
        EXPECT_EQ(NmAddressesStartingWith(c, "calls."), std::vector<uint64_t>{*calls->address});
        EXPECT_EQ(calls->typeName, "volatile uint16_t");

        std::map<std::string, uint64_t> errorCounts;  // file -> size
        for (const FirmwareVariable& variable : symbols.variables)
            if (variable.path == "errorCount") errorCounts[variable.sourceFile] = variable.byteSize;
        EXPECT_EQ(errorCounts, (std::map<std::string, uint64_t>{{"motor_control.c", 2}, {"motor_speed.c", 4}}));

        const fs::path cxx = Image(std::string("cxx") + dwarf);
        const std::vector<FirmwareVariable> cxxPaths = Paths(ReadFirmwareSymbols(cxx.string()));
        const FirmwareVariable* steps = Find(cxxPaths, "drive::Pid::Step()::steps");
        ASSERT_NE(steps, nullptr);
        EXPECT_EQ(*steps->address, NmAddresses(cxx).at("drive::Pid::Step()::steps"));
        EXPECT_EQ(steps->byteSize, 4u);
    }
}

TEST_F(FirmwareImages, WithoutDwarfTheSymbolTableGivesNamesAddressesAndSizes) {
    const fs::path image = Image("c_plain");
    const FirmwareSymbols read = ReadFirmwareSymbols(image.string());
    EXPECT_FALSE(read.fromDebugInfo);
    const std::vector<FirmwareVariable> symbols = Paths(read);
    const auto nm = NmAddresses(image);
    for (const auto& [name, size] : std::vector<std::pair<std::string, uint64_t>>{
             {"motor", 36}, {"controller", 20}, {"fileScopeCounter", 2}, {"buffer", 2000}, {"limit", 4}}) {
        SCOPED_TRACE(name);
        const FirmwareVariable* variable = Find(symbols, name);
        ASSERT_NE(variable, nullptr);
        ASSERT_TRUE(variable->address.has_value());
        EXPECT_EQ(*variable->address, nm.at(name));
        EXPECT_EQ(variable->byteSize, size);
        EXPECT_EQ(variable->kind, VariableKind::Other);
    }
    // Functions are not variables, and without types nothing can be expanded.
    for (const char* absent : {"main", "motor[1]"}) EXPECT_EQ(Find(symbols, absent), nullptr) << absent;
}

// How embedded projects really build: sections the linker drops, units without -g.
TEST_F(FirmwareImages, DroppedSectionsAndUnitsWithoutDebugInformation) {
    const std::string compiler = Quoted(ONDRIX_HOST_C_COMPILER);
    const fs::path speedObject = folder_->Path() / "speed_plain.o";
    ASSERT_EQ(std::system((compiler + " -c -O0 -g0 -o " + Quoted(speedObject.string()) + " " + Source("motor_speed.c"))
                              .c_str()),
              0);
    Link(ONDRIX_HOST_C_COMPILER, "-O0 -g -ffunction-sections -fdata-sections -Wl,--gc-sections",
         Source("motor_control.c") + " " + Source("motor_speed.c"), "c_gc");
    Link(ONDRIX_HOST_C_COMPILER, "-O0 -g", Source("motor_control.c") + " " + Quoted(speedObject.string()), "c_mixed");

    // Nothing reads `grid`, so the linker drops it: listed at no address, and known as dropped.
    const FirmwareSymbols gc = ReadFirmwareSymbols(Image("c_gc").string());
    EXPECT_EQ(Find(gc.variables, "grid"), nullptr);
    EXPECT_NE(std::find(gc.dropped.begin(), gc.dropped.end(), "grid"), gc.dropped.end());
    ASSERT_NE(Find(gc.variables, "fileScopeCounter"), nullptr);
    EXPECT_EQ(*Find(gc.variables, "fileScopeCounter")->address, NmAddresses(Image("c_gc")).at("fileScopeCounter"));

    // The unit built without -g still has its static, from the symbol table.
    const FirmwareSymbols mixed = ReadFirmwareSymbols(Image("c_mixed").string());
    EXPECT_TRUE(mixed.fromDebugInfo);
    std::map<std::string, uint64_t> errorCounts;  // file -> size
    for (const FirmwareVariable& variable : mixed.variables)
        if (variable.path == "errorCount") errorCounts[variable.sourceFile] = variable.byteSize;
    EXPECT_EQ(errorCounts, (std::map<std::string, uint64_t>{{"motor_control.c", 2}, {"motor_speed.c", 4}}));
    ASSERT_NE(Find(mixed.variables, "motor"), nullptr) << "described by the unit with -g";

    // A stripped file names no variables at all: an error, not an empty list.
    const fs::path stripped = folder_->Path() / "stripped";
    const std::string strip = "strip -s -o " + Quoted(stripped.string()) + " " + Quoted(Image("c_plain").string());
    ASSERT_EQ(std::system(strip.c_str()), 0);
    EXPECT_THROW(ReadFirmwareSymbols(stripped.string()), FirmwareFileError);
}

// Generated sources far deeper than people write: read without running out of stack.
TEST_F(FirmwareImages, TypesNestedThousandsDeep) {
    constexpr int kTypedefs = 20000, kStructs = 5000, kStars = 2000;
    const fs::path source = folder_->Path() / "deep.c";
    {
        std::ofstream out(source);
        out << "typedef short t0;\n";
        for (int i = 1; i < kTypedefs; ++i) out << "typedef t" << i - 1 << " t" << i << ";\n";
        out << "t" << kTypedefs - 1 << " chained;\nstruct s0 { short leaf; };\n";
        for (int i = 1; i < kStructs; ++i) out << "struct s" << i << " { int pad; struct s" << i - 1 << " in; };\n";
        out << "struct s" << kStructs - 1 << " nested;\nshort " << std::string(kStars, '*') << " stars;\n";
        out << "int main(void) { return 0; }\n";
    }
    Link(ONDRIX_HOST_C_COMPILER, "-O0 -g", Quoted(source.string()), "deep");
    const FirmwareSymbols symbols = ReadFirmwareSymbols(Image("deep").string());
    const auto nm = NmAddresses(Image("deep"));
    const FirmwareVariable* chained = Find(symbols.variables, "chained");
    ASSERT_NE(chained, nullptr);
    EXPECT_EQ(chained->typeName, "t" + std::to_string(kTypedefs - 1));
    EXPECT_EQ(chained->kind, VariableKind::SignedInteger);
    EXPECT_EQ(chained->byteSize, 2u);
    const FirmwareVariable* stars = Find(symbols.variables, "stars");
    ASSERT_NE(stars, nullptr);
    EXPECT_EQ(stars->kind, VariableKind::Pointer);
    const FirmwareVariable* nested = Find(symbols.variables, "nested");
    ASSERT_NE(nested, nullptr);
    std::string deepest;
    for (int i = 1; i < kStructs; ++i) deepest += ".in";
    const PartLookup leaf = FindPart(symbols, *nested, deepest + ".leaf");
    ASSERT_TRUE(leaf.part) << leaf.error;
    EXPECT_EQ(*leaf.part->address, nm.at("nested") + 4u * (kStructs - 1));
    EXPECT_EQ(leaf.part->typeName, "short int");
}

TEST_F(FirmwareImages, UnreadableFilesGiveAnErrorNamingThem) {
    std::ifstream imageFile(Image("c5"), std::ios::binary);
    const std::string image((std::istreambuf_iterator<char>(imageFile)), std::istreambuf_iterator<char>());
    ASSERT_GT(image.size(), 4096u);
    const fs::path object = folder_->Path() / "unit.o";
    ASSERT_EQ(std::system((Quoted(ONDRIX_HOST_C_COMPILER) + " -c -g -o " + Quoted(object.string()) + " " +
                           Source("motor_speed.c"))
                              .c_str()),
              0);

    // Compressed debug information whose zlib stream is damaged past its header.
    Link(ONDRIX_HOST_C_COMPILER, "-O0 -g -gz=zlib", Source("motor_control.c") + " " + Source("motor_speed.c"),
         "compressed");
    std::ifstream compressedFile(Image("compressed"), std::ios::binary);
    std::string damaged((std::istreambuf_iterator<char>(compressedFile)), std::istreambuf_iterator<char>());
    const auto [infoOffset, infoSize] = SectionPlace(Image("compressed"), ".debug_info");
    ASSERT_GT(infoSize, 64u);
    for (uint64_t at = infoOffset + 40; at < infoOffset + infoSize - 8; ++at) damaged[at] ^= 0x5a;

    struct Case {
        std::string name;
        std::optional<std::string> content;  // none: use the path as it is
        std::string says;
    };
    const std::vector<Case> cases = {
        {"missing", std::nullopt, "cannot open"},
        {"", std::nullopt, "not a regular file"},  // the folder itself
        {"empty", std::string(), "not an ELF file"},
        {"text", std::string("int motor[3];\n"), "not an ELF file"},
        {"header_only", image.substr(0, 64), "truncated"},
        {"half", image.substr(0, image.size() / 2), "truncated"},
        {"all_but_one_byte", image.substr(0, image.size() - 1), "truncated"},
        {"unit.o", std::nullopt, "not yet linked"},
        {"damaged_compressed", damaged, "corrupt DWARF: cannot decompress"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = folder_->Path() / c.name;
        if (c.content) std::ofstream(path, std::ios::binary) << *c.content;
        try {
            ReadFirmwareSymbols(path.string());
            ADD_FAILURE() << "no error";
        } catch (const FirmwareFileError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(path.string()), std::string::npos) << message;
            EXPECT_NE(message.find(c.says), std::string::npos) << message;
        }
    }
}

TEST_F(FirmwareImages, ThirtyTwoBitImagesWhereTheCompilerCanBuildThem) {
    const fs::path image = Image("c32");
    const std::string command = Quoted(ONDRIX_HOST_C_COMPILER) + " -m32 -O0 -g -no-pie -o " + Quoted(image.string()) +
                                " " + Source("motor_control.c") + " " + Source("motor_speed.c") + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) GTEST_SKIP() << "the host compiler cannot build 32-bit programs";
    ExpectAtLinkedAddresses(image, {{"motor[1].current.a", "motor", 14, 2, "int16_t", VariableKind::SignedInteger},
                                    {"statusRegister", "statusRegister", 0, 4, "volatile uint16_t * const",
                                     VariableKind::Pointer}});
}

// A big-endian target lays the same source out alike: each member at the same offset in its
// variable, bit fields counted in the target's own order. Runs where a big-endian cross compiler
// is installed; it links without a C library, as a firmware does.
TEST_F(FirmwareImages, BigEndianImagesWhereACrossCompilerIsInstalled) {
    const fs::path image = Image("c_big_endian");
    const std::string command = "mips-linux-gnu-gcc -ffreestanding -nostdlib -static -Wl,-e,main -O0 -g -o " +
                                Quoted(image.string()) + " " + Source("motor_control.c") + " " +
                                Source("motor_speed.c") + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) GTEST_SKIP() << "no big-endian cross compiler (mips-linux-gnu-gcc)";
    // Member layouts relative to their variable, for the variables whose types do not depend on
    // the target's word size.
    const auto layout = [](const fs::path& file) {
        std::vector<std::string> rows;
        const std::vector<FirmwareVariable> symbols = Paths(ReadFirmwareSymbols(file.string()));
        for (const char* root : {"motor", "controller", "word", "flags", "sample"}) {
            const FirmwareVariable* base = Find(symbols, root);
            if (base == nullptr || !base->address) {
                ADD_FAILURE() << root << " is missing from " << file;
                continue;
            }
            for (const FirmwareVariable& v : symbols) {
                if (v.path.rfind(root, 0) != 0 || !v.address) continue;
                rows.push_back(v.path + " +" + std::to_string(*v.address - *base->address) + " " +
                               std::to_string(v.byteSize) + " " + v.typeName + " " + VariableKindText(v.kind) + " " +
                               std::to_string(v.bitOffset) + ":" + std::to_string(v.bitSize));
            }
        }
        return rows;
    };
    const std::vector<std::string> bigEndian = layout(image);
    EXPECT_GT(bigEndian.size(), 20u);
    EXPECT_EQ(bigEndian, layout(Image("c5")));
}

}  // namespace
}  // namespace ondrix
