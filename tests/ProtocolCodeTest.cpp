// The protocol description is a promise to MPU programmers: its C routines, cut from the text
// the window shows and compiled as they stand, must serve our own side of the link. Our
// request bytes go into voRxIsr one by one; the frames voMonitor and voTxIsr send must pass
// our CRC test and carry the words stored at the requested addresses.

#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>

#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TemporaryFolder.h"
#include "acquisition/WireProtocol.h"
#include "workbench/ProtocolForm.h"
#include "workbench/ProtocolText.h"

namespace ondrix {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

// The text between separator lines, each section as its lines.
std::vector<std::vector<std::string>> Sections(const std::string& text) {
    std::vector<std::vector<std::string>> sections(1);
    for (const std::string& line : Lines(text)) {
        if (line == kProtocolSeparator)
            sections.emplace_back();
        else
            sections.back().push_back(line);
    }
    return sections;
}

std::string Join(const std::vector<std::string>& lines, size_t from = 0) {
    std::string joined;
    for (size_t i = from; i < lines.size(); ++i) joined += lines[i] + "\n";
    return joined;
}

// What the window shows, as the user would copy it out of the memo.
std::string ShownText() {
    TProtocolForm form;
    return form.Memo1.toPlainText().toStdString();
}

const char* const kMpuCodeHeading = "the following is MPU code,please refer.";

TEST(ProtocolText, SectionsComeInTheDocumentedOrder) {
    const auto sections = Sections(ShownText());
    ASSERT_EQ(sections.size(), 6u);
    EXPECT_EQ(sections[0], std::vector<std::string>{"Data send adapt CRC16 verification,The following is the function of "
                                                    "CRC16,please refer"});
    EXPECT_EQ(sections[1].front(), "unsigned short CRC_CHECK(unsigned char *Buf, unsigned char CRC_CNT)");

    std::vector<std::string> request = {"The data from computer to MPU is like this:"};
    std::vector<std::string> sample = {"The data from MPU to computer should be like this:"};
    for (int ch = 1; ch <= 4; ++ch) {
        const std::string c = std::to_string(ch);
        request.push_back("Ch" + c + "_Addr_LL，Ch" + c + "_Addr_LH，");
        request.push_back("Ch" + c + "_Addr_HL，Ch" + c + "_Addr_HH，");
        sample.push_back("Ch" + c + "Data_L，Ch" + c + "Data_H，");
    }
    request.push_back("CRC16_L，CRC16_H");
    sample.push_back("CRC16_L，CRC16_H");
    EXPECT_EQ(sections[2], request);
    EXPECT_EQ(sections[3], sample);

    EXPECT_EQ(sections[4].front(), kMpuCodeHeading);
    const std::string mpuCode = Join(sections[4]);
    for (const char* marker : {"#define RxCountMax 18", "RxBuf[RxCountMax]", "TxBuf[10]", "//Receive interrupt routine",
                               "void voRxIsr(void)", "//Transfer interrupt routine", "void voTxIsr(void)",
                               "//Monitor routine Execute every T Period time", "void voMonitor(void)", "Rx.data",
                               "Tx.Register"})
        EXPECT_NE(mpuCode.find(marker), std::string::npos) << marker;
    // The text ends with a separator.
    EXPECT_TRUE(sections[5].empty());
}

// The reference routines compiled with the stand-in hardware, once for all cases.
class MpuReferenceCode : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<test::TemporaryFolder>();
        const auto sections = Sections(ShownText());
        ASSERT_EQ(sections.size(), 6u);
        std::ofstream(folder_->Path() / "mpu_reference.c") << Join(sections[1]) << Join(sections[4], 1);

        QProcess compiler;
        compiler.setProcessChannelMode(QProcess::MergedChannels);
        compiler.start(ONDRIX_HOST_C_COMPILER,
                       {"-std=c99", "-Wall", "-Wextra", "-Werror", "-I", QString::fromStdString(folder_->String()),
                        "-o", QString::fromStdString((folder_->Path() / "mpu").string()), ONDRIX_PROTOCOL_HARNESS});
        ASSERT_TRUE(compiler.waitForFinished(60000)) << compiler.errorString().toStdString();
        ASSERT_EQ(compiler.exitCode(), 0) << compiler.readAll().toStdString();
    }
    static void TearDownTestSuite() { folder_.reset(); }

    // Runs the MPU through `script` (the harness's commands) and returns its frames.
    static std::vector<std::vector<uint8_t>> Run(const std::string& script) {
        QProcess mpu;
        mpu.start(QString::fromStdString((folder_->Path() / "mpu").string()), {});
        mpu.write(script.data(), static_cast<qint64>(script.size()));
        mpu.closeWriteChannel();
        EXPECT_TRUE(mpu.waitForFinished(30000));
        EXPECT_EQ(mpu.exitCode(), 0) << mpu.readAllStandardError().toStdString();
        std::vector<std::vector<uint8_t>> frames;
        for (const std::string& line : Lines(mpu.readAllStandardOutput().toStdString())) {
            std::vector<uint8_t> frame;
            for (size_t i = 0; i + 1 < line.size(); i += 2)
                frame.push_back(static_cast<uint8_t>(std::stoul(line.substr(i, 2), nullptr, 16)));
            frames.push_back(frame);
        }
        return frames;
    }

    static std::unique_ptr<test::TemporaryFolder> folder_;
};

std::unique_ptr<test::TemporaryFolder> MpuReferenceCode::folder_;

using Addresses = std::array<uint32_t, kChannelCount>;

// Commands for the harness.
std::string Receive(const std::vector<uint8_t>& bytes) {
    std::string script;
    char text[8];
    for (uint8_t byte : bytes) {
        std::snprintf(text, sizeof text, "r %02x ", byte);
        script += text;
    }
    return script;
}

std::vector<uint8_t> Request(const Addresses& addresses) {
    std::array<ChannelRequest, kChannelCount> channels{};
    for (int i = 0; i < kChannelCount; ++i) channels[i] = {addresses[i], true};
    const RequestFrame frame = BuildRequestFrame(channels);
    return {frame.begin(), frame.end()};
}

std::string Monitor(int periods) { return "m " + std::to_string(periods) + " "; }

// The MPU's memory: the words every case finds there.
const std::map<uint32_t, uint16_t> kMemory = {
    {0x20000000, 0x0001}, {0x20000002, 0xFFFF}, {0x20000100, 0x0100}, {0x20000FFE, 0x1234},
    {0x20000010, 0x8000}, {0x20000012, 0x7FFF}, {0x20000014, 0x0000}, {0x20000016, 0xA5C3},
};
const Addresses kFirst = {0x20000000, 0x20000002, 0x20000100, 0x20000FFE};
const Addresses kSecond = {0x20000010, 0x20000012, 0x20000014, 0x20000016};

std::string StoreMemory() {
    std::string script;
    char text[32];
    for (const auto& [address, word] : kMemory) {
        std::snprintf(text, sizeof text, "w %x %x ", address, word);
        script += text;
    }
    return script;
}

SampleValues ValuesAt(const Addresses& addresses) {
    SampleValues values{};
    for (int i = 0; i < kChannelCount; ++i) values[i] = static_cast<int16_t>(kMemory.at(addresses[i]));
    return values;
}

std::vector<uint8_t> Damaged(std::vector<uint8_t> bytes, size_t at) {
    bytes[at] ^= 0x01;
    return bytes;
}

std::vector<uint8_t> FirstBytes(std::vector<uint8_t> bytes, size_t count) {
    bytes.resize(count);
    return bytes;
}

TEST_F(MpuReferenceCode, ServesOurSideOfTheLink) {
    struct Case {
        const char* what;
        std::string script;
        const Addresses& sampled;  // by the last frame
    } cases[] = {
        {"a request sets the four addresses", Receive(Request(kFirst)) + Monitor(3), kFirst},
        {"a new request replaces them", Receive(Request(kFirst)) + Monitor(1) + Receive(Request(kSecond)) + Monitor(1),
         kSecond},
        {"a request failing its CRC is ignored",
         Receive(Request(kFirst)) + Receive(Damaged(Request(kSecond), 5)) + Monitor(1), kFirst},
        {"a request with a damaged CRC byte is ignored",
         Receive(Request(kFirst)) + Receive(Damaged(Request(kSecond), 17)) + Monitor(1), kFirst},
        {"a request cut short is dropped after 500 silent periods",
         Receive(Request(kFirst)) + Receive(FirstBytes(Request(kFirst), 10)) + Monitor(500) +
             Receive(Request(kSecond)) + Monitor(1),
         kSecond},
        {"after 499 silent periods the cut request still counts, so the next one is misaligned",
         Receive(Request(kFirst)) + Receive(FirstBytes(Request(kFirst), 10)) + Monitor(499) +
             Receive(Request(kSecond)) + Monitor(1),
         kFirst},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto frames = Run(StoreMemory() + c.script);
        ASSERT_FALSE(frames.empty());
        for (const auto& frame : frames) {
            ASSERT_EQ(frame.size(), kSampleFrameSize);
            EXPECT_TRUE(SampleFrameValid(frame.data()));
        }
        EXPECT_EQ(DecodeSampleValues(frames.back().data()), ValuesAt(c.sampled));
    }
}

// The MPU samples memory as it is at each period, not as it was when the request came.
TEST_F(MpuReferenceCode, ReadsTheWordsAsTheyAreEachPeriod) {
    const auto frames = Run(StoreMemory() + Receive(Request(kFirst)) + Monitor(1) + "w 20000000 8000 w 20000ffe 7fff " +
                            Monitor(1));
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(DecodeSampleValues(frames[0].data()), (SampleValues{1, -1, 256, 4660}));
    EXPECT_EQ(DecodeSampleValues(frames[1].data()), (SampleValues{-32768, -1, 256, 32767}));
    EXPECT_TRUE(SampleFrameValid(frames[1].data()));
}

}  // namespace
}  // namespace ondrix
