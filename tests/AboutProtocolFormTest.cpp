// The two fixed windows of the Help menu: the About box and the protocol description.

#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <set>
#include <string>

#include "workbench/AboutBox.h"
#include "workbench/ProtocolForm.h"
#include "workbench/ProtocolText.h"

namespace ondrix {
namespace {

TEST(AboutBox, ShowsTheProductItsVersionAndOk) {
    TAboutBox box;
    EXPECT_EQ(box.windowTitle(), "About");
    EXPECT_EQ(box.size(), QSize(298, 169));

    std::multiset<std::string> texts;
    for (const QLabel* label : box.findChildren<QLabel*>())
        if (!label->text().isEmpty()) texts.insert(label->text().toStdString());
    for (const QPushButton* button : box.findChildren<QPushButton*>()) texts.insert(button->text().toStdString());
    EXPECT_EQ(texts, (std::multiset<std::string>{"Ondrix", "Version:V1.0", "OK"}));

    EXPECT_TRUE(box.OKButton.isDefault());
    ASSERT_FALSE(box.ProgramIcon.pixmap().isNull());
    EXPECT_EQ(box.ProgramIcon.size(), QSize(65, 57));
    EXPECT_TRUE(box.ProgramIcon.hasScaledContents());
}

TEST(AboutBox, EnterClosesIt) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        TAboutBox box;
        QTimer::singleShot(0, &box, [&box, key] { QTest::keyClick(&box, key); });
        EXPECT_EQ(box.ShowModal(), QDialog::Accepted);
        EXPECT_FALSE(box.isVisible());
    }
}

TEST(ProtocolForm, ShowsTheProtocolTextReadOnly) {
    TProtocolForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.windowTitle(), "Communication Protocol");
    EXPECT_EQ(form.size(), QSize(847, 683));
    EXPECT_EQ(form.Memo1.geometry(), form.rect());

    const std::string_view text = ProtocolDescriptionText();
    const QString shown = form.Memo1.toPlainText();
    EXPECT_EQ(shown, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));

    EXPECT_TRUE(form.Memo1.isReadOnly());
    form.Memo1.setFocus();
    QTest::keyClicks(&form.Memo1, "typed");
    QTest::keyClick(&form.Memo1, Qt::Key_Delete);
    QTest::keyClick(&form.Memo1, Qt::Key_Backspace);
    EXPECT_EQ(form.Memo1.toPlainText(), shown);

    // The text is longer than the window: it scrolls vertically, never sideways.
    EXPECT_GT(form.Memo1.verticalScrollBar()->maximum(), 0);
    EXPECT_TRUE(form.Memo1.verticalScrollBar()->isVisible());
    EXPECT_EQ(form.Memo1.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

}  // namespace
}  // namespace ondrix
