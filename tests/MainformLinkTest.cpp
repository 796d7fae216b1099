// The main window's side of the serial link, headless: the status bar's link panel (its texts fit
// at the window's smallest width, a screen reader reads them), the communication setup shown
// while a capture runs, and an open line that brings nothing.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

#include "MainWindowRig.h"
#include "PortLinks.h"
#include "ScopeRig.h"
#include "platform/PseudoTerminal.h"
#include "plot/channels/PlotChannel.h"
#include "workbench/Mainform.h"

namespace ondrix {
namespace {

using test::kScreenWidth;

struct Window : test::MainWindow {
    explicit Window(const std::string& portsFolder) : test::MainWindow(test::WindowSetup(portsFolder)) {}
    int Nulls(int channel) {
        const TPlotChannel& plotChannel = *form.Plot1.GetChannel(channel);
        int nulls = 0;
        for (int i = kScreenWidth; i < plotChannel.GetCount(); ++i) nulls += plotChannel.GetDataNull(i) ? 1 : 0;
        return nulls;
    }
};

// Runs `action` on the modal dialog once it is up, from inside its own event loop.
void WhenModal(const std::function<void(QWidget&)>& action) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            action(*dialog);
        }
    });
    poll->start();
}

QString AccessibleText(QWidget& widget, QAccessible::Text kind) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&widget);
    return accessible ? accessible->text(kind) : QStringLiteral("<no interface>");
}

// The longest of each kind of text, beside the longest settings summary the dialog can make.
TEST(MainWindowLink, TheLinkPanelsTextsFitBesideTheOtherPanelsAtTheSmallestWidth) {
    test::TemporaryFolder noPorts;
    Window w(noPorts.String());
    ASSERT_EQ(w.form.width(), 1024);
    PortSettings widest;
    widest.PortNumber = 12;
    widest.BaudRate = 625000;
    widest.Parity = 2;
    widest.StopBits = 1;
    w.form.StatusBar1.SettingsPanel.setText(QString::fromStdString(SettingsSummary(widest)));

    LinkStatistics unsure;
    unsure.assembler.frames = 99999999;
    unsure.request = RequestOutcome::Unsure;
    LinkStatistics troubled;
    troubled.assembler.frames = 99999999;
    troubled.assembler.skippedBytes = 99999;
    troubled.losses = 99;
    LinkStatistics silent;
    silent.noData = true;
    silent.portNumber = 12;
    const std::vector<std::function<void(TMainStatusBar&)>> shows = {
        [](TMainStatusBar& bar) { bar.ShowDeviceLost(12, "the device hung up", "/dev/serial/by-id/usb-x"); },
        [&](TMainStatusBar& bar) { bar.ShowLinkStatistics(silent); },
        [&](TMainStatusBar& bar) { bar.ShowLinkStatistics(unsure); },
        [&](TMainStatusBar& bar) { bar.ShowLinkStatistics(troubled); },
    };
    const QLabel& settingsPanel = w.form.StatusBar1.SettingsPanel;
    const QLabel& panel = w.form.StatusBar1.LinkPanel;
    for (const auto& show : shows) {
        show(w.form.StatusBar1);
        QApplication::processEvents();
        SCOPED_TRACE(panel.text().toStdString());
        EXPECT_LE(panel.fontMetrics().horizontalAdvance(panel.text()), panel.contentsRect().width());
        EXPECT_LE(settingsPanel.fontMetrics().horizontalAdvance(settingsPanel.text()),
                  settingsPanel.contentsRect().width());
        EXPECT_LE(panel.geometry().right(), w.form.StatusBar1.width());
    }
    EXPECT_EQ(panel.text().toStdString(), "frames=99999999 …") << "the figures of trouble make room";

    // A wider window makes room, and the whole figures line shows.
    w.form.resize(1400, w.form.height());
    QApplication::processEvents();
    EXPECT_EQ(panel.text().toStdString(), "frames=99999999 skipped=99999 losses=99");
}

// What a screen reader reads of each panel is its text; what the panel is and the details of
// the link come as its description.
TEST(MainWindowLink, TheStatusBarIsReadThroughAccessibility) {
    test::TemporaryFolder noPorts;
    Window w(noPorts.String());
    TMainStatusBar& bar = w.form.StatusBar1;
    bar.HintPanel.setText(QStringLiteral("Zoom In"));
    EXPECT_EQ(AccessibleText(bar.HintPanel, QAccessible::Name), "Zoom In");
    EXPECT_EQ(AccessibleText(bar.SettingsPanel, QAccessible::Name),
              "|COM1|Baud = 9600|Data Length = 8|NOPARITY  |ONESTOPBIT  ");
    EXPECT_TRUE(AccessibleText(bar.SettingsPanel, QAccessible::Description).startsWith("Port settings"));
    EXPECT_EQ(AccessibleText(bar.LinkPanel, QAccessible::Name), "frames=0");

    bar.ShowDeviceLost(5, "the device hung up", "/dev/pts/7");
    EXPECT_EQ(AccessibleText(bar.LinkPanel, QAccessible::Name), "COM5 lost — waiting");
    const QString details = AccessibleText(bar.LinkPanel, QAccessible::Description);
    EXPECT_TRUE(details.contains("the device hung up")) << details.toStdString();
    EXPECT_TRUE(details.contains("/dev/pts/7")) << details.toStdString();

    LinkStatistics silent;
    silent.noData = true;
    silent.portNumber = 5;
    bar.ShowLinkStatistics(silent);
    EXPECT_EQ(AccessibleText(bar.LinkPanel, QAccessible::Name), "no data from COM5");
    EXPECT_FALSE(bar.DeviceLostShown());
}

// The setup shown while the capture runs: Exit leaves it running untouched; OK with a new baud
// rate reopens the port with it, a Null point marks the change, and the samples go on.
TEST(MainWindowLink, TheCommunicationSetupKeepsTheCaptureRunningAndOkAppliesNewSettings) {
    test::VirtualMpuRig mpu;
    Window w(mpu.PortsFolder());
    w.form.Run.click();
    ASSERT_TRUE(w.WaitForPoints(kScreenWidth + 100));

    w.settings.BaudRate = 19200;  // changed, then left with Exit: for the next RUN
    WhenModal([](QWidget& dialog) { static_cast<TCommForm&>(dialog).Exit.click(); });
    QTest::mouseClick(&w.form.StatusBar1, Qt::LeftButton, Qt::NoModifier, QPoint(600, 10));
    EXPECT_TRUE(w.form.Session().Running());
    EXPECT_EQ(w.form.windowTitle().toStdString(), "Ondrix  ---  Running...");
    EXPECT_EQ(w.link.OpenSettings().BaudRate, 9600);
    EXPECT_EQ(w.form.StatusBar1.HintPanel.text().toStdString(), "The new port settings apply at the next RUN or OK");
    const int afterExit = w.Points(0);
    ASSERT_TRUE(w.WaitForPoints(afterExit + 100)) << "the capture stopped";
    EXPECT_EQ(w.Nulls(0), 0);

    WhenModal([](QWidget& dialog) {
        auto& setup = static_cast<TCommForm&>(dialog);
        setup.ComboBox2.setCurrentIndex(setup.ComboBox2.findText(QStringLiteral("115200")));
        setup.Button1.click();
    });
    w.form.MainMenu1.CommunicationSetup.trigger();
    EXPECT_TRUE(w.form.Session().Running());
    EXPECT_EQ(w.link.OpenSettings().BaudRate, 115200);
    EXPECT_EQ(w.form.StatusBar1.SettingsPanel.text().toStdString(),
              "|COM1|Baud = 115200|Data Length = 8|NOPARITY  |ONESTOPBIT  ");
    const QLabel& hint = w.form.StatusBar1.HintPanel;
    EXPECT_EQ(hint.text().toStdString(), "COM1 reopened with the new settings; the traces break where they apply");
    EXPECT_LE(hint.fontMetrics().horizontalAdvance(hint.text().replace("COM1", "COM12")), hint.contentsRect().width());
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.Nulls(0) == 1; }, 5000));
    const int atChange = w.Points(0);
    ASSERT_TRUE(w.WaitForPoints(atChange + 100)) << "no samples after the change";
    EXPECT_EQ(mpu.BytesReceived(), 2 * kRequestFrameSize) << "the request was not sent again";
    for (int c = 0; c < kChannelCount; ++c) EXPECT_EQ(w.Nulls(c), 1) << c;
    EXPECT_TRUE(w.notifier.messages.empty());

    // OK with nothing changed touches nothing.
    WhenModal([](QWidget& dialog) { static_cast<TCommForm&>(dialog).Button1.click(); });
    w.form.MainMenu1.CommunicationSetup.trigger();
    const int afterPlainOk = w.Points(0);
    ASSERT_TRUE(w.WaitForPoints(afterPlainOk + 100));
    EXPECT_EQ(w.Nulls(0), 1);
    w.form.Stop.click();
}

// An open line that brings no frame is told in the status bar, and frames that come end it.
TEST(MainWindowLink, AnOpenLineWithoutFramesSaysNoData) {
    test::TemporaryFolder ports;
    PseudoTerminal line;
    test::PointPortAt(ports.Path() / "COM1", line.SlavePath());
    Window w(ports.String());
    w.form.Run.click();
    ASSERT_TRUE(w.form.Session().Running());
    const QLabel& panel = w.form.StatusBar1.LinkPanel;
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.text() == "no data from COM1"; }, 5000)) << panel.text().toStdString();
    QTest::qWait(600);
    EXPECT_EQ(panel.text(), "no data from COM1") << "Timer1's refresh hid it";

    const SampleFrame frame = EncodeSampleFrame({1, 2, 3, 4});
    for (int i = 0; i < 2; ++i) ASSERT_EQ(write(line.MasterFd(), frame.data(), frame.size()), kSampleFrameSize);
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.text().startsWith("frames="); }, 5000)) << panel.text().toStdString();
    w.form.Stop.click();
}

}  // namespace
}  // namespace ondrix
