// The reference routines the Help window gives MPU programmers and the MPU module (mpu/) must
// not drift apart. Both are compiled side by side around one stand-in hardware
// (MpuPairHarness.c) and put through the same received bytes, periods and transmit interrupts;
// every byte either sends, its transmit interrupt and the addresses it watches must match.

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Bytes.h"
#include "TemporaryFolder.h"
#include "acquisition/WireProtocol.h"
#include "workbench/ProtocolText.h"

namespace ondrix {
namespace {

using Bytes = std::vector<uint8_t>;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == '\t')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

// The C of the Help text: the CRC routine, and the MPU code after its heading line. The text's
// sections lie between separator lines: introduction, CRC routine, request, frame, MPU code.
std::string ReferenceRoutines() {
    std::vector<std::string> sections(1);
    for (const std::string& line : Lines(std::string(ProtocolDescriptionText()))) {
        if (line == kProtocolSeparator)
            sections.emplace_back();
        else
            sections.back() += line + "\n";
    }
    if (sections.size() < 5) return {};
    const std::string& code = sections[4];
    return sections[1] + code.substr(code.find('\n') + 1);
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// The exit code of a shell command, or -1 if it did not exit.
int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The harness's memory page, and the last word in it.
constexpr uint32_t kBase = 0x20000000;
constexpr uint32_t kLastWord = kBase + 4096 - 2;

// Commands for the harness, and every byte they make the MPU receive.
class Script {
public:
    explicit Script(uint32_t seed) : random_(seed) {}

    void Store(uint32_t address, uint16_t word) {
        char command[32];
        std::snprintf(command, sizeof command, "w %x %x ", address, word);
        text_ += command;
    }
    void Receive(const Bytes& bytes) {
        char command[8];
        for (uint8_t byte : bytes) {
            std::snprintf(command, sizeof command, "r %02x ", byte);
            text_ += command;
        }
        received_.insert(received_.end(), bytes.begin(), bytes.end());
    }
    void Periods(int count) { text_ += "p " + std::to_string(count) + " "; }
    void Monitor() { text_ += "m "; }
    void Transmit(int chances) { text_ += "t " + std::to_string(chances) + " "; }

    int Pick(int from, int to) { return std::uniform_int_distribution<int>(from, to)(random_); }
    uint8_t Byte() { return static_cast<uint8_t>(Pick(0, 255)); }

    // A request from the scope's encoder for four words in the page, odd ones among them; the
    // words there get new values now and at each StoreWords while they may be watched.
    Bytes Request() {
        std::array<ChannelRequest, kChannelCount> channels{};
        for (auto& channel : channels) {
            channel = {kBase + static_cast<uint32_t>(Pick(0, kLastWord - kBase)), true};
            if (Pick(0, 3) != 0) channel.address &= ~1u;
        }
        const RequestFrame frame = BuildRequestFrame(channels);
        // The words of this request and the one before: those a period may read.
        if (watched_.size() > kChannelCount) watched_.erase(watched_.begin(), watched_.begin() + kChannelCount);
        for (const auto& channel : channels) watched_.push_back(channel.address);
        StoreWords();
        return {frame.begin(), frame.end()};
    }
    void StoreWords() {
        static const uint16_t kEdges[] = {0x0000, 0xFFFF, 0x8000, 0x7FFF};
        for (uint32_t address : watched_)
            Store(address, Pick(0, 4) == 0 ? kEdges[Pick(0, 3)] : static_cast<uint16_t>(Pick(0, 0xFFFF)));
    }

    // Whether every 18 bytes received in a row that pass the CRC, by design or by chance, ask
    // for words in the page: the reference routines read wherever they are told.
    bool StaysInThePage() const {
        for (size_t i = 0; i + kRequestFrameSize <= received_.size(); ++i) {
            const uint8_t* request = &received_[i];
            if (CRC_CHECK(request, 16) != request[17] * 256 + request[16]) continue;
            for (size_t channel = 0; channel < kChannelCount; ++channel) {
                const uint8_t* a = request + 4 * channel;
                const uint32_t address = static_cast<uint32_t>(a[0] | a[1] << 8 | a[2] << 16) | uint32_t{a[3]} << 24;
                if (address < kBase || address > kLastWord) return false;
            }
        }
        return true;
    }

    const std::string& Text() const { return text_; }

private:
    std::mt19937 random_;
    std::string text_;
    Bytes received_;
    std::vector<uint32_t> watched_;
};

Bytes Slice(const Bytes& bytes, size_t from, size_t to) { return {bytes.begin() + from, bytes.begin() + to}; }

// First the cases where the timing matters, then events drawn at random.
Script Events(uint32_t seed) {
    Script script(seed);
    script.Receive(script.Request());
    script.Periods(2);
    Bytes request = script.Request();
    script.Receive(Slice(request, 0, 7));
    script.Periods(499);
    script.Receive(Slice(request, 7, 18));
    script.Periods(1);
    request = script.Request();
    script.Receive(Slice(request, 0, 10));
    script.Periods(500);
    script.Receive(request);
    script.Periods(1);
    request = script.Request();
    script.Receive(Slice(request, 0, 10));
    script.Periods(499);
    script.Receive(request);
    script.Periods(1);
    script.Monitor();
    script.Transmit(4);
    script.Monitor();
    script.Transmit(12);
    script.Monitor();
    script.Transmit(2);
    script.Receive(script.Request());
    script.Transmit(12);

    static const int kSilences[] = {1, 1, 2, 3, 10, 498, 499, 500, 501};
    for (int event = 0; event < 150; ++event) {
        switch (script.Pick(0, 9)) {
            case 0:  // often after the silence that brings the MPU back in step
                if (script.Pick(0, 2) != 0) script.Periods(script.Pick(500, 501));
                script.Receive(script.Request());
                break;
            case 1: {  // a request in parts, with periods or frames between them
                request = script.Request();
                const int cut = script.Pick(1, 17);
                script.Receive(Slice(request, 0, cut));
                if (script.Pick(0, 1) == 0)
                    script.Periods(kSilences[script.Pick(0, 8)]);
                else {
                    script.Monitor();
                    script.Transmit(script.Pick(0, 12));
                }
                script.Receive(Slice(request, cut, request.size()));
                break;
            }
            case 2: {
                request = script.Request();
                request[script.Pick(0, 17)] ^= static_cast<uint8_t>(script.Pick(1, 255));
                script.Receive(request);
                break;
            }
            case 3:
                script.Receive(Slice(script.Request(), 0, script.Pick(1, 17)));
                break;
            case 4: {
                Bytes noise(script.Pick(1, 40));
                for (uint8_t& byte : noise) byte = script.Byte();
                script.Receive(noise);
                break;
            }
            case 5:
                script.Periods(kSilences[script.Pick(0, 8)]);
                break;
            case 6:  // a frame cut short by the next, or sent whole
                script.Monitor();
                script.Transmit(script.Pick(0, 12));
                break;
            case 7:
                script.StoreWords();
                script.Periods(script.Pick(1, 3));
                break;
            case 8:
                script.Transmit(script.Pick(0, 3));
                break;
            default:  // bytes received while a frame goes out
                script.Monitor();
                script.Transmit(script.Pick(0, 9));
                script.Receive(Slice(script.Request(), 0, script.Pick(1, 18)));
                script.Transmit(12);
                break;
        }
    }
    return script;
}

Script EventsInThePage(uint32_t seed) {
    for (uint32_t attempt = 0;; ++attempt) {
        Script script = Events(seed * 1000 + attempt);
        if (script.StaysInThePage()) return script;
    }
}

class MpuModuleAndHelpText : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<test::TemporaryFolder>();
        const std::string routines = ReferenceRoutines();
        ASSERT_NE(routines.find("void voMonitor(void)"), std::string::npos) << "the Help text's MPU code is not found";
        std::ofstream(folder_->Path() / "mpu_reference.c") << routines;
        const std::string log = (folder_->Path() / "compile.log").string();
        const int compiled =
            Shell(Quoted(ONDRIX_HOST_C_COMPILER) + " -std=c99 -Wall -Wextra -Werror -I " + Quoted(folder_->String()) +
                  " -I " + Quoted(ONDRIX_MPU_SOURCE_DIR) + " -o " + Quoted(Program()) + " " +
                  Quoted(ONDRIX_MPU_PAIR_HARNESS) + " " + Quoted(ONDRIX_MPU_SOURCE_DIR "/ondrix_mpu.c") + " > " +
                  Quoted(log) + " 2>&1");
        ASSERT_EQ(compiled, 0) << test::ReadText(log);
    }
    static void TearDownTestSuite() { folder_.reset(); }

    static std::string Program() { return (folder_->Path() / "pair").string(); }

    // The harness's lines for the script, the module reading as `how` says.
    static std::vector<std::string> Run(const Script& script, const std::string& how) {
        const auto path = [](const char* name) { return (folder_->Path() / name).string(); };
        std::ofstream(path("script")) << script.Text();
        const int status = Shell(Quoted(Program()) + " " + how + " < " + Quoted(path("script")) + " > " +
                                 Quoted(path("out")) + " 2> " + Quoted(path("err")));
        EXPECT_EQ(status, 0) << test::ReadText(path("err"));
        return Lines(test::ReadText(path("out")));
    }

    static std::unique_ptr<test::TemporaryFolder> folder_;
};

std::unique_ptr<test::TemporaryFolder> MpuModuleAndHelpText::folder_;

TEST_F(MpuModuleAndHelpText, SendTheSameBytesThroughTheSameEvents) {
    for (const char* how : {"", "ranges"}) {
        for (uint32_t seed = 1; seed <= 12; ++seed) {
            SCOPED_TRACE(std::string("module reading ") +
                         (*how ? "through read_word within its range" : "its own memory") + ", seed " +
                         std::to_string(seed));
            const std::vector<std::string> lines = Run(EventsInThePage(seed), how);
            size_t bytesSent = 0;
            size_t addressChanges = 0;
            std::string addresses;
            for (size_t i = 0; i < lines.size(); ++i) {
                const std::vector<std::string> fields = Fields(lines[i]);
                ASSERT_EQ(fields.size(), 3u) << lines[i];
                if (fields[1] != fields[2]) {
                    std::string before;
                    for (size_t j = i > 12 ? i - 12 : 0; j < i; ++j) before += lines[j] + "\n";
                    FAIL() << "line " << i + 1 << ", after\n"
                           << before << "the Help text's routines: " << fields[0] << "\t" << fields[1]
                           << "\nthe module:               " << fields[0] << "\t" << fields[2];
                }
                if (fields[0][0] == 'r') {
                    addressChanges += fields[1] != addresses;
                    addresses = fields[1];
                } else {
                    bytesSent += fields[1].find(' ') / 2;
                }
            }
            // Not two sides doing nothing alike: frames went out, and requests were taken.
            EXPECT_GT(bytesSent, 10000u);
            EXPECT_GT(addressChanges, 10u);
        }
    }
}

}  // namespace
}  // namespace ondrix
