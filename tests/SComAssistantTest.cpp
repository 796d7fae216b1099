// The serial debug assistant: its send-text rules without a window, and its window on a
// pseudo-terminal reached as COM1, with the test playing the far end of the line.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "PortLinks.h"
#include "RecordingNotifier.h"
#include "TemporaryFolder.h"
#include "platform/PseudoTerminal.h"
#include "workbench/HexSendText.h"
#include "workbench/SComAssistantForm.h"

namespace ondrix {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Prepared(const TSendData& data) { return Bytes(data.SendBuffer.begin(), data.SendBuffer.begin() + data.SendLength); }

std::string Tokens(size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) text += "5A ";
    return text;
}

// ---- send text, CRC and period without a window ------------------------------------------

struct HexCase {
    const char* name;
    std::string text;
    TSendTextStatus status;
    Bytes bytes;
};

TEST(HexSendText, ParsesBlankSeparatedTokensAsTheCLibraryReadsBase16) {
    const std::vector<HexCase> cases = {
        {"extra blanks", "   01 03  00   00 00 01   ", TSendTextStatus::Ok, {0x01, 0x03, 0x00, 0x00, 0x00, 0x01}},
        {"low byte of longer tokens", "fff 7", TSendTextStatus::Ok, {0xFF, 0x07}},
        {"1, 01 and 101 alike", "1 01 101", TSendTextStatus::Ok, {0x01, 0x01, 0x01}},
        {"beyond a long saturates", "123456789", TSendTextStatus::Ok, {0xFF}},
        {"control characters around", "\t0a Bc\r\n", TSendTextStatus::Ok, {0x0A, 0xBC}},
        {"nothing typed", "  ", TSendTextStatus::Ok, {}},
        {"C prefix", "0x10", TSendTextStatus::InvalidData, {}},
        {"letter beyond F", "12 G4", TSendTextStatus::InvalidData, {}},
        {"line break inside", "01\n02", TSendTextStatus::InvalidData, {}},
        {"tab inside", "01\t02", TSendTextStatus::InvalidData, {}},
        {"one send's worth", Tokens(kMaxSendLength), TSendTextStatus::Ok, Bytes(kMaxSendLength, 0x5A)},
        {"more than one send carries", Tokens(kMaxSendLength + 1), TSendTextStatus::TooLong, {}},
        {"the send box's most", Tokens(250) + Tokens(250), TSendTextStatus::TooLong, {}},
    };
    for (const HexCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TParsedSendText parsed = ParseHexSendText(c.text);
        EXPECT_EQ(parsed.status, c.status);
        EXPECT_EQ(Prepared(parsed.data), c.bytes);
    }
}

TEST(HexSendText, PlainTextIsSentAsItIsUpToOneSend) {
    EXPECT_EQ(Prepared(ParsePlainSendText("AB\r\n").data), (Bytes{0x41, 0x42, 0x0D, 0x0A}));
    EXPECT_EQ(ParsePlainSendText(std::string(kMaxSendLength, 'x')).data.SendLength, kMaxSendLength);
    const TParsedSendText tooLong = ParsePlainSendText(std::string(kMaxSendLength + 1, 'x'));
    EXPECT_EQ(tooLong.status, TSendTextStatus::TooLong);
    EXPECT_EQ(tooLong.data.SendLength, 0);
}

TEST(HexSendText, Crc16GoesBehindTheDataOnlyWhenTwoBytesAreFree) {
    TSendData request = ParseHexSendText("01 03 00 00 00 01").data;
    ASSERT_TRUE(AppendCrc16(request));
    EXPECT_EQ(Prepared(request), (Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A}));

    TSendData full = ParseHexSendText(Tokens(kMaxSendLengthBeforeCrc)).data;
    ASSERT_TRUE(AppendCrc16(full));
    EXPECT_EQ(full.SendLength, kMaxSendLength);

    for (size_t length : {kMaxSendLengthBeforeCrc + 1, kMaxSendLength}) {
        SCOPED_TRACE(length);
        TSendData crowded = ParseHexSendText(Tokens(length)).data;
        const TSendData before = crowded;
        EXPECT_FALSE(AppendCrc16(crowded));
        EXPECT_EQ(crowded.SendLength, before.SendLength);
        EXPECT_EQ(crowded.SendBuffer, before.SendBuffer);
    }
}

TEST(HexSendText, DisplayTexts) {
    const Bytes received = {0x41, 0x42, 0x0D, 0x00, 0x43};
    EXPECT_EQ(HexPairs(received.data(), 3), "41 42 0D ");
    EXPECT_EQ(TextUpToZero(received.data(), received.size()), "AB\r");
    EXPECT_EQ(TextUpToZero(received.data(), 2), "AB");
}

TEST(HexSendText, SendPeriodIsADecimalIntegerFrom1To9000) {
    const struct {
        const char* text;
        TPeriodStatus status;
        int value;
    } cases[] = {
        {"30", TPeriodStatus::Ok, 30},           {"1", TPeriodStatus::Ok, 1},
        {"9000", TPeriodStatus::Ok, 9000},       {"0", TPeriodStatus::OutOfRange, 0},
        {"9001", TPeriodStatus::OutOfRange, 0},  {"-5", TPeriodStatus::OutOfRange, 0},
        {"", TPeriodStatus::NotANumber, 0},      {"1a", TPeriodStatus::NotANumber, 0},
        {"-", TPeriodStatus::NotANumber, 0},     {"99999999999", TPeriodStatus::OutOfRange, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const TParsedPeriod period = ParseSendPeriod(c.text);
        EXPECT_EQ(period.status, c.status);
        if (c.status == TPeriodStatus::Ok) {
            EXPECT_EQ(period.value, c.value);
        }
    }
}

// ---- the window on a pseudo-terminal -------------------------------------------------------

// Single-digit tokens, so that more than one send's worth fits into the send box.
QString ShortTokens(size_t count) { return QString("5 ").repeated(static_cast<int>(count)); }

class SComAssistant : public ::testing::Test {
protected:
    // The window is left hidden: painting a window this large puts Qt's own image threads to
    // work, whose races ThreadSanitizer reports but cannot see into. The controls work alike.
    SComAssistant() { test::PointPortAt(folder_.Path() / "COM1", pty_.SlavePath()); }

    void Open() {
        ASSERT_TRUE(form_.PortClosed());
        form_.Button_OpenClose->click();
        ASSERT_FALSE(form_.PortClosed()) << (notifier_.messages.empty() ? "" : notifier_.messages.back());
    }

    void TypeSendText(const QString& text, bool hex) {
        form_.CheckBox2->setChecked(hex);
        form_.Memo1->setPlainText(text);
    }

    // What the far end has received, waiting until `count` bytes came or `timeout` passed.
    Bytes ReadFarEnd(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        Bytes bytes;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
            uint8_t chunk[512];
            const ssize_t n = read(pty_.MasterFd(), chunk, sizeof chunk);
            if (n > 0)
                bytes.insert(bytes.end(), chunk, chunk + n);
            else
                QTest::qWait(5);
        }
        return bytes;
    }

    // Everything the far end receives within `quiet`.
    Bytes DrainFarEnd(std::chrono::milliseconds quiet) { return ReadFarEnd(SIZE_MAX, quiet); }

    void WriteFarEnd(const Bytes& bytes) {
        ASSERT_EQ(write(pty_.MasterFd(), bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    bool WaitForReceivedCount(int count) {
        return QTest::qWaitFor([&] { return form_.ReceivedCount() >= count; }, 5000);
    }

    void WaitForSingleSends() {
        ASSERT_TRUE(QTest::qWaitFor([&] { return form_.SendsInFlight() == 0; }, 5000));
    }

    test::TemporaryFolder folder_;
    PseudoTerminal pty_;
    PortSettings settings_;
    RecordingNotifier notifier_;
    SerialLink link_{settings_, notifier_, PortResolverForFolder(folder_.String())};
    TSComAssistantForm form_{settings_, link_, notifier_};
};

TEST_F(SComAssistant, StartsAsDesigned) {
    EXPECT_EQ(form_.windowTitle(), "SCom Assistant");
    EXPECT_EQ(form_.size(), QSize(1024, 660));
    EXPECT_EQ(form_.minimumSize(), QSize(1024, 660));
    const std::vector<std::pair<QString, QString>> captions = {
        {form_.CheckBox1->text(), "Auto Send Period(ms)"}, {form_.Edit1->text(), "30"},
        {form_.Button_Send->text(), "Send"},               {form_.Button_Stop->text(), "Stop Sending"},
        {form_.Button_OpenClose->text(), "Open"},          {form_.Button_StopReceive->text(), "Stop Receivng"},
        {form_.Label5->text(), "Com Status:"},             {form_.Label2->text(), "Closed"},
        {form_.Label4->text(), "Send data count:"},        {form_.Label3->text(), "0"},
        {form_.Label6->text(), "Received data count:"},    {form_.Label1->text(), "0"},
        {form_.CheckBox2->text(), "HEX Format Send"},      {form_.CheckBox3->text(), "HEX Format Received"},
        {form_.BitBtn1->text(), "CRC16 Generate"},         {form_.Memo1->toPlainText(), ""},
        {form_.Memo2->toPlainText(), ""},
    };
    for (const auto& [shown, expected] : captions) EXPECT_EQ(shown, expected);
    EXPECT_FALSE(form_.CheckBox1->isChecked());
    EXPECT_TRUE(form_.CheckBox2->isChecked());
    EXPECT_TRUE(form_.CheckBox3->isChecked());
    EXPECT_EQ(form_.Edit1->maxLength(), 4);
    EXPECT_EQ(form_.SendPeriod(), 30);
    EXPECT_TRUE(form_.PortClosed());
    EXPECT_EQ(form_.StatusBar1->findChild<QLabel*>()->text().toStdString(), SettingsSummary(settings_));
}

TEST_F(SComAssistant, StatusBarClickAsksForTheSetupOnceAndShowsTheNewSettings) {
    int asked = 0;
    form_.OnSetupRequested = [&] {
        ++asked;
        settings_.BaudRate = 115200;
    };
    QLabel* panel = form_.StatusBar1->findChild<QLabel*>();
    QTest::mouseClick(panel, Qt::LeftButton);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(panel->text().toStdString(), SettingsSummary(settings_));
    EXPECT_NE(panel->text().indexOf("115200"), -1);
}

TEST_F(SComAssistant, SendsTypedBytesOnceAndCountsThem) {
    const struct {
        const char* text;
        bool hex;
        Bytes bytes;
    } cases[] = {
        {"  01 03   00 00 00 01  ", true, {0x01, 0x03, 0x00, 0x00, 0x00, 0x01}},
        {"fff 7", true, {0xFF, 0x07}},
        {"AB", false, {0x41, 0x42}},
        {"A\nB", false, {0x41, 0x0D, 0x0A, 0x42}},
    };
    Open();
    EXPECT_EQ(form_.Button_OpenClose->text(), "Close");
    EXPECT_EQ(form_.Label2->text(), " Openned!");
    int sent = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TypeSendText(c.text, c.hex);
        form_.Button_Send->click();
        sent += static_cast<int>(c.bytes.size());
        EXPECT_EQ(form_.SentCount(), sent);
        EXPECT_EQ(form_.Label3->text(), QString::number(sent));
        EXPECT_EQ(ReadFarEnd(c.bytes.size()), c.bytes);
        WaitForSingleSends();
    }
    EXPECT_TRUE(notifier_.messages.empty());

    QTest::mouseClick(form_.Label3, Qt::LeftButton);
    EXPECT_EQ(form_.SentCount(), 0);
    EXPECT_EQ(form_.Label3->text(), "0");
}

TEST_F(SComAssistant, RefusedSendTextSendsNothingAndLeavesNothingPrepared) {
    const struct {
        QString text;
        bool hex;
        std::string message;
    } cases[] = {
        {"0x10", true, "invalid data!"},
        {"12 G4", true, "invalid data!"},
        {ShortTokens(256), true, "Too many bytes: one send carries at most 255 bytes!"},
        {QString(256, 'x'), false, "Too many bytes: one send carries at most 255 bytes!"},
        {QString(128, '\n'), false, "Too many bytes: one send carries at most 255 bytes!"},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        TypeSendText("01 02", true);
        form_.BitBtn1->click();
        ASSERT_EQ(form_.SendData().SendLength, 4);
        notifier_.Clear();
        TypeSendText(c.text, c.hex);
        form_.Button_Send->click();
        EXPECT_EQ(notifier_.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(form_.SendData().SendLength, 0);
        EXPECT_EQ(form_.SendData().SendBuffer, TSendData().SendBuffer);
        EXPECT_EQ(form_.SentCount(), 0);
    }
    EXPECT_TRUE(DrainFarEnd(std::chrono::milliseconds(200)).empty());
}

TEST_F(SComAssistant, Crc16GenerateAppendsTheCrcToTheDisplayAndTheSendBytes) {
    TypeSendText("  01 03 00  00 00 01 ", true);
    form_.Memo2->setPlainText("seen");
    form_.BitBtn1->click();
    EXPECT_EQ(form_.Memo2->toPlainText(), "seen84 0A ");
    EXPECT_EQ(form_.SendData().SendLength, 8);
    EXPECT_EQ(Prepared(form_.SendData()), (Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A}));
    EXPECT_EQ(form_.SentCount(), 0);
    EXPECT_TRUE(notifier_.messages.empty());

    // Room for the CRC ends at 253 typed bytes.
    TypeSendText(ShortTokens(kMaxSendLengthBeforeCrc), true);
    form_.BitBtn1->click();
    EXPECT_EQ(form_.SendData().SendLength, kMaxSendLength);
    EXPECT_TRUE(notifier_.messages.empty());

    TypeSendText(ShortTokens(kMaxSendLengthBeforeCrc + 1), true);
    const QString displayBefore = form_.Memo2->toPlainText();
    form_.BitBtn1->click();
    EXPECT_EQ(notifier_.messages,
              std::vector<std::string>{"No room for the CRC16: at most 253 bytes may come before it!"});
    EXPECT_EQ(form_.SendData().SendLength, kMaxSendLengthBeforeCrc + 1);
    EXPECT_EQ(form_.Memo2->toPlainText(), displayBefore);
}

TEST_F(SComAssistant, SendBoxTakesAtMost750Characters) {
    form_.Memo1->setPlainText(QString(800, 'A'));
    EXPECT_EQ(form_.Memo1->toPlainText().size(), TSComAssistantForm::kSendTextMaxLength);
}

TEST_F(SComAssistant, ShowsReceivedBytesInHexOrAsText) {
    const struct {
        const char* name;
        bool hex;
        Bytes bytes;
        QString display;
    } cases[] = {
        {"hex pairs on the last line", true, {0x41, 0x42, 0x0D}, "typed\nmore41 42 0D "},
        {"text with its line break", false, {0x41, 0x42, 0x0D}, "typed\nmoreAB\n"},
        {"text up to a zero byte", false, {0x41, 0x00, 0x42}, "typed\nmoreA"},
    };
    Open();
    int received = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form_.CheckBox3->setChecked(c.hex);
        form_.Memo2->setPlainText("typed\nmore");
        WriteFarEnd(c.bytes);
        received += static_cast<int>(c.bytes.size());
        ASSERT_TRUE(WaitForReceivedCount(received));
        EXPECT_EQ(form_.Memo2->toPlainText(), c.display);
        EXPECT_EQ(form_.Label1->text(), QString::number(received));
    }
    QTest::mouseClick(form_.Label1, Qt::LeftButton);
    EXPECT_EQ(form_.ReceivedCount(), 0);
    EXPECT_EQ(form_.Label1->text(), "0");
}

TEST_F(SComAssistant, DisplayStartsAfreshBeyond101Lines) {
    Open();
    form_.Memo2->setPlainText(QString("line\n").repeated(101));
    ASSERT_EQ(form_.Memo2->blockCount(), 102);
    WriteFarEnd({0xAA});
    ASSERT_TRUE(WaitForReceivedCount(1));
    EXPECT_EQ(form_.Memo2->toPlainText(), "AA ");
}

TEST_F(SComAssistant, ReceiveButtonTogglesReceiving) {
    Open();
    form_.Button_StopReceive->click();
    EXPECT_EQ(form_.Button_StopReceive->text(), "Receive Enable");
    EXPECT_FALSE(form_.Receiving());
    WriteFarEnd({0x01, 0x02});
    QTest::qWait(500);
    EXPECT_EQ(form_.ReceivedCount(), 0);
    form_.Button_StopReceive->click();
    EXPECT_EQ(form_.Button_StopReceive->text(), "Stop receiving");
    EXPECT_TRUE(WaitForReceivedCount(2));
}

TEST_F(SComAssistant, PeriodBoxRefusesWhatIsNotAPeriod) {
    form_.Edit1->setText("250");
    EXPECT_EQ(form_.SendPeriod(), 250);
    const struct {
        const char* typed;
        const char* message;
        const char* caption;
    } cases[] = {
        {"0", "Invalid data(1~9000)", "Rangle Err"},
        {"9001", "Invalid data(1~9000)", "Rangle Err"},
        {"", "Invalid data", "data err"},
        {"1x", "Invalid data", "data err"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        notifier_.Clear();
        form_.Edit1->setText(c.typed);
        EXPECT_EQ(notifier_.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(notifier_.captions, std::vector<std::string>{c.caption});
        EXPECT_EQ(notifier_.buttons, std::vector<MessageButtons>{MessageButtons::OkCancel});
        EXPECT_EQ(form_.Edit1->text(), "250");
        EXPECT_EQ(form_.SendPeriod(), 250);
    }
}

TEST_F(SComAssistant, ClosingTheWindowReturnsToClosed) {
    form_.show();
    Open();
    form_.CheckBox1->setChecked(true);
    TypeSendText("01", true);
    form_.Button_Send->click();
    ASSERT_TRUE(form_.AutoSending());
    form_.reject();
    EXPECT_FALSE(form_.isVisible());
    EXPECT_FALSE(form_.AutoSending());
    EXPECT_FALSE(link_.IsOpen());
    form_.show();
    EXPECT_EQ(form_.Button_OpenClose->text(), "Open");
    EXPECT_EQ(form_.Label2->text(), " Closed!");
    EXPECT_TRUE(form_.PortClosed());
    EXPECT_TRUE(form_.Button_Send->isEnabled());
    form_.hide();
    Open();
}

TEST_F(SComAssistant, PeriodicSendDeliversEveryTick) {
    Open();
    form_.Edit1->setText("10");
    form_.CheckBox1->setChecked(true);
    TypeSendText("01 02 03 04", true);
    const auto start = std::chrono::steady_clock::now();
    form_.Button_Send->click();
    EXPECT_FALSE(form_.Button_Send->isEnabled());
    const Bytes first = ReadFarEnd(400, std::chrono::seconds(1));
    form_.Button_Stop->click();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(form_.Button_Send->isEnabled());
    EXPECT_FALSE(form_.AutoSending());

    Bytes all = first;
    const Bytes rest = DrainFarEnd(std::chrono::milliseconds(300));
    all.insert(all.end(), rest.begin(), rest.end());
    const size_t ticksAtMost = static_cast<size_t>(elapsed / std::chrono::milliseconds(10)) + 1;
    ASSERT_EQ(all.size() % 4, 0u);
    // Generous: a loaded machine skips missed deadlines, but a 10 ms timer still ticks often.
    EXPECT_GE(all.size(), 4u * 10);
    EXPECT_LE(all.size(), 4 * ticksAtMost);
    for (size_t i = 0; i < all.size(); i += 4) ASSERT_EQ(Bytes(all.begin() + i, all.begin() + i + 4), (Bytes{1, 2, 3, 4}));
    // Every write the ticks made is counted once it reached the GUI thread.
    EXPECT_TRUE(QTest::qWaitFor([&] { return form_.SentCount() == static_cast<int>(all.size()); }, 5000))
        << form_.SentCount() << " counted, " << all.size() << " received";
}

TEST_F(SComAssistant, AutoSendPicksUpTheCrcAsAWhole) {
    Open();
    form_.Edit1->setText("20");
    form_.CheckBox1->setChecked(true);
    TypeSendText("01 03 00 00 00 01", true);
    form_.Button_Send->click();
    ASSERT_GE(ReadFarEnd(6).size(), 6u);
    form_.BitBtn1->click();
    DrainFarEnd(std::chrono::milliseconds(100));
    const Bytes sent = ReadFarEnd(16, std::chrono::seconds(2));
    form_.Button_Stop->click();
    DrainFarEnd(std::chrono::milliseconds(100));
    const Bytes framed = {0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A};
    ASSERT_GE(sent.size(), 16u);
    // Each tick sends either the old six bytes or the new eight, never a mixture; once the CRC
    // is in, every frame carries it.
    const auto at = std::search(sent.begin(), sent.end(), framed.begin(), framed.end());
    ASSERT_NE(at, sent.end());
    for (auto frame = at; frame + 8 <= sent.end(); frame += 8) EXPECT_TRUE(std::equal(framed.begin(), framed.end(), frame));
}

}  // namespace
}  // namespace ondrix
