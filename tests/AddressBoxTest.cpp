// The channels' address boxes as a user fills them: typing stops at eight characters, a pasted
// address is never cut short without a word, and what the address rule cannot take is named in
// its message with what to type instead.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QInputMethodEvent>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

#include "MainWindowRig.h"

namespace ondrix {
namespace {

const std::string kTooLong =
    "CH2: '123456789' is too long: an address has at most eight hexadecimal digits (0-9, A-F)";

class AddressBoxes : public ::testing::Test {
protected:
    static void Put(const QString& text) { QGuiApplication::clipboard()->setText(text); }

    test::TemporaryFolder noPorts_;
    test::MainWindow w_{test::WindowSetup(noPorts_.String()).WithoutPresetAddresses()};
};

// However the text comes in, the box shows all of it; leaving the box then says why nine digits
// are no address, and the channel keeps its address.
TEST_F(AddressBoxes, APastedTextIsTakenWholeAndATooLongOneIsRefusedAloud) {
    const struct {
        const char* route;
        std::function<void(QLineEdit&)> paste;
    } routes[] = {
        {"Ctrl+V", [](QLineEdit& box) { QTest::keySequence(&box, QKeySequence::Paste); }},
        {"Shift+Insert", [](QLineEdit& box) { QTest::keyClick(&box, Qt::Key_Insert, Qt::ShiftModifier); }},
        {"the context menu's Paste", [](QLineEdit& box) { box.paste(); }},
    };
    QLineEdit& box = w_.AddressBox(1);
    for (const auto& r : routes) {
        SCOPED_TRACE(r.route);
        w_.notifier.Clear();
        box.selectAll();
        Put(QStringLiteral("123456789"));
        r.paste(box);
        EXPECT_EQ(box.text().toStdString(), "123456789") << "nothing was cut off";
        w_.LeaveAddressBox(1);
        EXPECT_EQ(w_.notifier.messages, std::vector<std::string>{kTooLong});
        EXPECT_EQ(w_.form.ChannelAddress(1), 0u);
    }

    w_.notifier.Clear();
    box.selectAll();
    Put(QStringLiteral("0x20000000"));
    box.paste();
    w_.LeaveAddressBox(1);
    EXPECT_EQ(w_.notifier.messages,
              std::vector<std::string>{
                  "CH2: '0X20000000' is not an address: type it without 0x, in one to eight hexadecimal digits "
                  "(0-9, A-F)"});

    w_.notifier.Clear();
    box.selectAll();
    Put(QStringLiteral("2000000a"));
    QTest::keySequence(&box, QKeySequence::Paste);
    EXPECT_EQ(box.text().toStdString(), "2000000A") << "pasted letters are forced to upper case as typed ones";
    w_.LeaveAddressBox(1);
    EXPECT_TRUE(w_.notifier.messages.empty());
    EXPECT_EQ(w_.form.ChannelAddress(1), 0x2000000Au);
}

// Typing never makes a box longer than eight characters, by keys or through an input method;
// a too-long pasted text can still be edited down to an address.
TEST_F(AddressBoxes, TypingStopsAtEightCharactersWithoutLockingALongerText) {
    QLineEdit& box = w_.AddressBox(2);
    box.clear();
    QTest::keyClicks(&box, "123456789");
    EXPECT_EQ(box.text().toStdString(), "12345678");
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("9"));
    QApplication::sendEvent(&box, &composed);
    EXPECT_EQ(box.text().toStdString(), "12345678");

    box.selectAll();
    QTest::keyClicks(&box, "ab");
    EXPECT_EQ(box.text().toStdString(), "AB") << "typing over a selection replaces it";

    box.selectAll();
    Put(QStringLiteral("1234567890"));
    box.paste();
    QTest::keyClicks(&box, "F");
    EXPECT_EQ(box.text().toStdString(), "1234567890") << "typing adds nothing to a too-long text";
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text().toStdString(), "12345678") << "but deleting works";
    w_.LeaveAddressBox(2);
    EXPECT_TRUE(w_.notifier.messages.empty());
    EXPECT_EQ(w_.form.ChannelAddress(2), 0x12345678u);
}

TEST_F(AddressBoxes, AnEmptiedBoxSaysWhatToTypeAndKeepsTheAddress) {
    QLineEdit& box = w_.AddressBox(3);
    box.clear();
    QTest::keyClicks(&box, "1a2b");
    w_.LeaveAddressBox(3);
    ASSERT_EQ(w_.form.ChannelAddress(3), 0x1A2Bu);

    box.selectAll();
    QTest::keyClick(&box, Qt::Key_Backspace);
    w_.LeaveAddressBox(3);
    EXPECT_EQ(w_.notifier.messages,
              std::vector<std::string>{"CH4: the address box is empty: type one to eight hexadecimal digits (0-9, A-F)"});
    EXPECT_EQ(w_.form.ChannelAddress(3), 0x1A2Bu);
}

}  // namespace
}  // namespace ondrix
