// The main window, headless: its first state, a damaged config.dat at the start, RUN and STOP
// against the virtual MPU, a lost device, the address boxes, and the shut-down.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFocusEvent>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <vector>

#include <unistd.h>
#include <string>

#include "Bytes.h"
#include "MainWindowRig.h"
#include "PortLinks.h"
#include "ScopeRig.h"
#include "acquisition/ChannelAddress.h"
#include "acquisition/SettingsStore.h"
#include "platform/PseudoTerminal.h"
#include "plot/channels/PlotChannel.h"
#include "tools/mpu-sim/MemoryMap.h"
#include "workbench/Mainform.h"
#include "workbench/MessageBoxNotifier.h"

namespace ondrix {
namespace {

using test::kScreenWidth;

// The window over a link whose COM1 is whatever `portsFolder` says, its address boxes preset
// with the virtual MPU's demo addresses.
struct Window : test::MainWindow {
    explicit Window(const std::string& portsFolder) : test::MainWindow(test::WindowSetup(portsFolder)) {}
};

// The first start without config.dat: the records' initial values, every switch on.
TEST(MainWindow, StartsStoppedWithOneScreenOfZerosAndTheFourChannelsSwitchedOn) {
    test::TemporaryFolder noPorts;
    test::MainWindow w(test::WindowSetup(noPorts.String()).WithoutPresetAddresses());
    EXPECT_EQ(w.form.windowTitle().toStdString(), "Serial Ondrix");
    EXPECT_EQ(w.form.minimumSize(), QSize(1024, 660));
    EXPECT_EQ(w.form.size(), QSize(1024, 660));
    EXPECT_TRUE(w.form.Run.isEnabled());
    EXPECT_FALSE(w.form.Stop.isEnabled());
    EXPECT_EQ(w.form.Run.text().toStdString(), "RUN");
    EXPECT_EQ(w.form.Stop.text().toStdString(), "STOP");
    EXPECT_EQ(w.form.StatusBar1.SettingsPanel.text().toStdString(),
              "|COM1|Baud = 9600|Data Length = 8|NOPARITY  |ONESTOPBIT  ");
    EXPECT_EQ(w.form.Others.TimeIntervalEdit.text().toStdString(), "0");
    EXPECT_EQ(w.form.Others.Edit5.text().toStdString(), "50000");
    EXPECT_EQ(w.form.DataFormat(), TDataFormat::Dec);

    for (int c = 0; c < kChannelCount; ++c) {
        const TChannelGroupBox& box = w.form.ChannelBoxes[c];
        const std::string name = "CH" + std::to_string(c + 1);
        EXPECT_EQ(box.title().toStdString(), name);
        EXPECT_EQ(box.Title.text().toStdString(), name);
        EXPECT_EQ(box.Switch.text().toStdString(), "Addr (HEX)");
        EXPECT_TRUE(box.Switch.isChecked());
        EXPECT_EQ(w.form.ChannelOn(c), 1);
        EXPECT_EQ(box.Address.text().toStdString(), "00000000");
        EXPECT_EQ(w.form.ChannelAddress(c), 0u);
        EXPECT_EQ(box.Data.text().toStdString(), "0");

        const TPlotChannel& channel = *w.form.Plot1.GetChannel(c);
        EXPECT_TRUE(channel.GetVisible());
        ASSERT_EQ(channel.GetCount(), kScreenWidth);
        EXPECT_EQ(channel.GetDataX(kScreenWidth - 1), kScreenWidth - 1);
        EXPECT_EQ(channel.GetDataY(kScreenWidth - 1), 0);
    }
    EXPECT_EQ(w.form.Session().SampleCounter(), static_cast<uint32_t>(kScreenWidth));
    EXPECT_TRUE(w.notifier.messages.empty());
}

// --addresses: the demo's addresses in the boxes instead of the stored ones, for this run only:
// config.dat keeps the user's own, but for a box the user typed another address into.
TEST(MainWindow, PresetAddressesFillTheBoxesButNeverReplaceTheStoredOnes) {
    test::TemporaryFolder noPorts, settings;
    {
        ScopeSettings stored;
        for (int c = 0; c < kChannelCount; ++c) stored.Channels[c].Address = 0x100u + static_cast<uint32_t>(c);
        ASSERT_EQ(SaveSettingsFile(SettingsLocation{settings.String(), settings.String()}, stored), "");
    }
    {
        test::MainWindow w{test::WindowSetup(noPorts.String()).WithSettingsIn(settings.String())};
        const char* const addresses[] = {"20000000", "20000004", "20000006", "2000000C"};
        for (int c = 0; c < kChannelCount; ++c) {
            EXPECT_EQ(w.AddressBox(c).text().toStdString(), addresses[c]);
            EXPECT_EQ(w.form.ChannelAddress(c), mpusim::kDemoAddresses[c]);
            EXPECT_TRUE(w.form.ChannelBoxes[c].Switch.isChecked());
        }
        w.AddressBox(3).setText("2000000A");
        w.LeaveAddressBox(3);
        w.form.close();
    }
    ScopeSettings inUse;
    const SettingsLoadResult saved = LoadSettingsFile(SettingsLocation{settings.String(), settings.String()}, inUse);
    ASSERT_EQ(saved.status, SettingsLoadStatus::Loaded);
    const uint32_t expected[] = {0x100, 0x101, 0x102, 0x2000000A};
    for (int c = 0; c < kChannelCount; ++c) EXPECT_EQ(saved.settings.Channels[c].Address, expected[c]) << c;
}

// A damaged config.dat shows its message in a real box. Without a script the box is modal and
// the start waits for OK, as it always did; at a start that a script drives (--run,
// --quit-after) the box stays up without holding it, and RUN goes on. Either way the damaged
// bytes are kept beside the config.dat the shut-down writes.
TEST(MainWindowStartUp, ADamagedSettingsFileDoesNotHoldAStartThatAScriptDrives) {
    for (const bool unattended : {false, true}) {
        SCOPED_TRACE(unattended ? "a script's start" : "the user's start");
        test::VirtualMpuRig mpu;
        test::TemporaryFolder settings;
        const std::string file = settings.String() + "/config.dat";
        const std::vector<uint8_t> damaged = {0x88, 0x00, 0x00};
        test::WriteBytes(file, damaged);
        const QString message = QString::fromStdString(
            "File Open Error\n" + file + ": The file has 3 bytes, too few for its length word.\nIt is kept as " + file + ".bad.");

        // A modal box would hold the window's construction: it is noted and answered here.
        std::vector<QString> modalTexts;
        QTimer answerer;
        answerer.setInterval(20);
        QObject::connect(&answerer, &QTimer::timeout, [&modalTexts] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                modalTexts.push_back(box->text());
                box->accept();
            }
        });
        answerer.start();

        PortSettings portSettings;
        MessageBoxNotifier notifier;
        SerialLink link(portSettings, notifier, PortResolverForFolder(mpu.PortsFolder()));
        MainformOptions options;
        options.settings.programFolder = settings.String();
        options.portsFolder = mpu.PortsFolder();
        options.unattended = unattended;
        TForm1 form(portSettings, link, notifier, options);
        EXPECT_EQ(test::ReadBytes(file + ".bad"), damaged) << "kept before anything else happens";
        form.show();
        QTimer::singleShot(0, &form, [&form] { form.Run.click(); });  // what --run does
        ASSERT_TRUE(QTest::qWaitFor([&] { return form.Plot1.GetChannel(0)->GetCount() > kScreenWidth + 100; }, 10000));

        if (unattended) {
            EXPECT_TRUE(modalTexts.empty()) << "the start was held";
            std::vector<QString> shown;
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(window); box != nullptr && box->isVisible())
                    shown.push_back(box->text());
            EXPECT_EQ(shown, std::vector<QString>{message}) << "the message is up while RUN goes on";
        } else {
            EXPECT_EQ(modalTexts, std::vector<QString>{message});
        }
        form.close();
        EXPECT_EQ(test::ReadBytes(file).size(), 136u) << "the setup in use, in a sound file";
        EXPECT_EQ(test::ReadBytes(file + ".bad"), damaged);
    }
}

TEST(MainWindow, RunAndStopDriveTheSessionTheButtonsAndTheCaption) {
    test::VirtualMpuRig mpu;
    Window w(mpu.PortsFolder());
    w.form.Run.click();
    ASSERT_TRUE(w.form.Session().Running()) << (w.notifier.messages.empty() ? "" : w.notifier.messages[0]);
    EXPECT_EQ(w.form.windowTitle().toStdString(), "Ondrix  ---  Running...");
    EXPECT_FALSE(w.form.Run.isEnabled());
    EXPECT_TRUE(w.form.Stop.isEnabled());

    ASSERT_TRUE(w.WaitForPoints(kScreenWidth + 300));
    const TPlotChannel& square = *w.form.Plot1.GetChannel(2);
    EXPECT_EQ(square.GetDataX(kScreenWidth), kScreenWidth) << "the first sample comes after one screen";
    const double last = square.GetDataY(square.GetCount() - 1);
    EXPECT_TRUE(last == 15000 || last == -15000) << last;

    w.form.Stop.click();
    EXPECT_FALSE(w.form.Session().Running());
    EXPECT_FALSE(w.link.IsOpen());
    EXPECT_EQ(w.form.windowTitle().toStdString(), "Ondrix");
    EXPECT_TRUE(w.form.Run.isEnabled());
    EXPECT_FALSE(w.form.Stop.isEnabled());
    const int kept = w.Points(0);
    QTest::qWait(100);
    EXPECT_EQ(w.Points(0), kept) << "the channels keep their points, and no late batch lands";
    EXPECT_TRUE(w.notifier.messages.empty());
}

// A device that goes away while running: the status bar says so while the caption keeps saying
// the session runs; the session waits and rejoins the device by itself; STOP ends the wait.
TEST(MainWindow, ALostDeviceIsShownInTheStatusBarUntilItIsBack) {
    test::VirtualMpuRig mpu;
    Window w(mpu.PortsFolder());
    w.form.Run.click();
    ASSERT_TRUE(w.WaitForPoints(kScreenWidth + 100));
    const QLabel& link = w.form.StatusBar1.LinkPanel;
    EXPECT_TRUE(link.text().startsWith("frames=")) << link.text().toStdString();

    const QString lost = QStringLiteral("COM1 lost — waiting");
    const QString running = QStringLiteral("Ondrix  ---  Running...");
    mpu.Unplug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.text() == lost; }, 5000)) << link.text().toStdString();
    EXPECT_TRUE(w.form.StatusBar1.DeviceLostShown());
    EXPECT_EQ(w.form.windowTitle(), running);
    EXPECT_FALSE(w.form.Run.isEnabled());
    EXPECT_TRUE(w.form.Stop.isEnabled()) << "STOP ends the wait";
    EXPECT_TRUE(w.notifier.messages.empty()) << "no message box over a dead line";
    QTest::qWait(700);
    EXPECT_EQ(link.text(), lost) << "Timer1's refresh of the statistics hid the loss";

    mpu.PlugIn();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.form.StatusBar1.DeviceLostShown(); }, 5000));
    EXPECT_TRUE(link.text().contains("losses=1")) << link.text().toStdString();
    EXPECT_EQ(w.form.windowTitle(), running);
    const int atRejoin = w.Points(0);
    ASSERT_TRUE(w.WaitForPoints(atRejoin + 100));
    const TPlotChannel& channel = *w.form.Plot1.GetChannel(0);
    int nulls = 0;
    for (int i = kScreenWidth; i < channel.GetCount(); ++i) nulls += channel.GetDataNull(i) ? 1 : 0;
    EXPECT_EQ(nulls, 1) << "one break in the trace where the device was away";

    mpu.Unplug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.text() == lost; }, 5000));
    w.form.Stop.click();
    EXPECT_EQ(w.form.windowTitle().toStdString(), "Ondrix");
    EXPECT_FALSE(w.form.StatusBar1.DeviceLostShown());
    EXPECT_TRUE(w.form.Run.isEnabled());
    EXPECT_FALSE(w.form.Stop.isEnabled());
}

// RUN does not freeze the window while the request goes out (the line's settling time, then
// 18 bytes with a pause after each): the event loop keeps turning until the samples come.
TEST(MainWindow, TheWindowKeepsRespondingWhileTheRequestGoesOut) {
    test::VirtualMpuRig mpu;
    Window w(mpu.PortsFolder());
    // Hidden, so that what is counted is the event loop's turns, not the plot's paint passes,
    // which take long in the sanitizer builds.
    w.form.hide();
    w.form.Run.click();
    ASSERT_TRUE(w.form.Session().Running());
    EXPECT_LT(mpu.BytesReceived(), kRequestFrameSize) << "the click waited for the request to go out";

    int turns = 0;
    QElapsedTimer sending;
    sending.start();
    QEventLoop events;
    QTimer everyMillisecond;
    QObject::connect(&everyMillisecond, &QTimer::timeout, [&] {
        if (mpu.BytesReceived() >= kRequestFrameSize || sending.elapsed() > 10000) events.quit();
        else ++turns;
    });
    everyMillisecond.start(1);
    events.exec();
    ASSERT_EQ(mpu.BytesReceived(), kRequestFrameSize);
    EXPECT_GE(turns, 10) << "the window stood still for " << sending.elapsed() << " ms";
    w.form.Stop.click();
}

TEST(MainWindow, ARunThatCannotOpenThePortShowsWhyAndStaysStopped) {
    test::TemporaryFolder ports;
    std::ofstream(ports.Path() / "COM1") << (ports.Path() / "no-such-tty").string() << "\n";
    Window w(ports.String());
    w.form.Run.click();
    EXPECT_FALSE(w.form.Session().Running());
    EXPECT_EQ(w.notifier.messages, std::vector<std::string>{"Open COM1 Err!\n" + (ports.Path() / "no-such-tty").string() +
                                                            ": " + std::generic_category().message(ENOENT)});
    EXPECT_EQ(w.form.windowTitle().toStdString(), "Serial Ondrix");
    EXPECT_TRUE(w.form.Run.isEnabled());
    EXPECT_FALSE(w.form.Stop.isEnabled());
    EXPECT_EQ(w.Points(0), kScreenWidth) << "the channels keep the zero prefill";
}

TEST(MainWindow, TheAddressBoxForcesUpperCaseAndItsRuleRunsWhenItIsLeft) {
    test::TemporaryFolder noPorts;
    Window w(noPorts.String());
    QLineEdit& edit1 = w.AddressBox(0);
    edit1.clear();
    QTest::keyClicks(&edit1, "1a2b");
    EXPECT_EQ(edit1.text().toStdString(), "1A2B");
    w.LeaveAddressBox(0);
    EXPECT_EQ(w.form.ChannelAddress(0), 0x1A2Bu);

    edit1.setText("12G4");
    w.LeaveAddressBox(0);
    EXPECT_EQ(w.notifier.messages, std::vector<std::string>{"CH1 invalid address!"});
    EXPECT_EQ(w.form.ChannelAddress(0), 0x1A2Bu) << "a refused text keeps the previous address";
    EXPECT_EQ(edit1.text().toStdString(), "12G4") << "and the text stays as typed";

    w.notifier.Clear();
    QTest::keyClicks(&edit1, "123456789");
    EXPECT_EQ(edit1.text().size(), 8);
    edit1.setText("FFFFFFFF");
    w.LeaveAddressBox(0);
    EXPECT_EQ(w.form.ChannelAddress(0), 0xFFFFFFFFu);

    // Leaving the window is not leaving the box.
    edit1.setText("XYZ");
    QFocusEvent deactivated(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&edit1, &deactivated);
    EXPECT_TRUE(w.notifier.messages.empty());
}

// A title field keeps at most ten characters and its zero.
TEST(MainWindow, ATitleBoxTakesTenCharacters) {
    test::TemporaryFolder noPorts;
    Window w(noPorts.String());
    QLineEdit& title = w.form.ChannelBoxes[2].Title;
    title.clear();
    QTest::keyClicks(&title, "Temperature1");
    EXPECT_EQ(title.text().toStdString(), "Temperatur");
}

// What RUN sends is what the boxes show, the whole 32-bit range included: the request's bytes
// are read on the far side of a pseudo-terminal standing in for the MPU.
TEST(MainWindow, RunSendsTheAddressesTheBoxesShow) {
    PseudoTerminal line;
    test::TemporaryFolder ports;
    test::PointPortAt(ports.Path() / "COM1", line.SlavePath());
    Window w(ports.String());
    const char* const typed[] = {"ffffffff", "1a2b", "80000000", "0"};
    for (int c = 0; c < kChannelCount; ++c) {
        w.AddressBox(c).clear();
        QTest::keyClicks(&w.AddressBox(c), typed[c]);
    }
    w.form.Run.click();
    ASSERT_TRUE(w.form.Session().Running()) << (w.notifier.messages.empty() ? "" : w.notifier.messages[0]);

    std::vector<uint8_t> received;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        uint8_t buffer[64];
        const ssize_t got = read(line.MasterFd(), buffer, sizeof buffer);
        if (got > 0) received.insert(received.end(), buffer, buffer + got);
        return received.size() >= kRequestFrameSize;
    }, 5000)) << received.size() << " bytes of the request arrived";
    w.form.Stop.click();

    const std::vector<uint8_t> addresses(received.begin(), received.begin() + 16);
    EXPECT_EQ(addresses, (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0x2B, 0x1A, 0x00, 0x00,  //
                                               0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00}));
    const RequestFrame expected = BuildRequestFrame({{{0xFFFFFFFF, true}, {0x1A2B, true}, {0x80000000, true}, {0, true}}});
    EXPECT_EQ(std::vector<uint8_t>(received.begin(), received.begin() + kRequestFrameSize),
              std::vector<uint8_t>(expected.begin(), expected.end()));
    EXPECT_EQ(w.AddressBox(0).text().toStdString(), "FFFFFFFF");
    EXPECT_TRUE(w.notifier.messages.empty());
}

TEST(MainWindow, RunParsesTheBoxesARefusedOneWarnsAndAnEmptyOneAbandonsTheStart) {
    test::VirtualMpuRig mpu;
    {
        Window w(mpu.PortsFolder());
        w.AddressBox(1).setText("12G4");
        w.form.Run.click();
        EXPECT_EQ(w.notifier.messages, std::vector<std::string>{"CH2 invalid address!"});
        EXPECT_TRUE(w.form.Session().Running()) << "the start goes on with the channel's previous address";
        EXPECT_EQ(w.form.ChannelAddress(1), mpusim::kDemoAddresses[1]);
        w.form.Stop.click();
    }
    {
        Window w(mpu.PortsFolder());
        w.AddressBox(0).setText("1A2B");
        w.AddressBox(2).clear();
        w.AddressBox(3).setText("2000000E");
        w.form.Run.click();
        EXPECT_EQ(w.notifier.messages, std::vector<std::string>{AddressConversionMessage(3, "")});
        EXPECT_FALSE(w.form.Session().Running());
        EXPECT_FALSE(w.link.IsOpen());
        EXPECT_EQ(w.form.windowTitle().toStdString(), "Serial Ondrix");
        EXPECT_TRUE(w.form.Run.isEnabled());
        EXPECT_FALSE(w.form.Stop.isEnabled());
        EXPECT_EQ(w.form.ChannelAddress(0), 0x1A2Bu) << "the boxes before the empty one were taken";
        EXPECT_EQ(w.form.ChannelAddress(3), mpusim::kDemoAddresses[3]) << "the boxes after it were not";
    }
}

TEST(MainWindow, ASwitchShowsOrHidesItsChannelAndRunKeepsItSo) {
    test::VirtualMpuRig mpu;
    Window w(mpu.PortsFolder());
    w.form.ChannelBoxes[1].Switch.click();
    EXPECT_FALSE(w.form.Plot1.GetChannel(1)->GetVisible());
    w.form.Run.click();
    ASSERT_TRUE(w.WaitForPoints(kScreenWidth + 100));
    w.form.Stop.click();
    EXPECT_FALSE(w.form.Plot1.GetChannel(1)->GetVisible());
    EXPECT_TRUE(w.form.Plot1.GetChannel(0)->GetVisible());
    EXPECT_EQ(w.Points(1), w.Points(0)) << "a switched-off channel still receives every sample";
    const TPlotChannel& off = *w.form.Plot1.GetChannel(1);
    EXPECT_EQ(off.GetDataY(off.GetCount() - 1), 0) << "the MPU reports address 0 for it";
    w.form.ChannelBoxes[1].Switch.click();
    EXPECT_TRUE(w.form.Plot1.GetChannel(1)->GetVisible());
}

TEST(MainWindow, ClosingTheWindowWhileRunningStopsTheSessionAndClosesThePort) {
    test::VirtualMpuRig mpu;
    Window w(mpu.PortsFolder());
    w.form.Run.click();
    ASSERT_TRUE(w.WaitForPoints(kScreenWidth + 50));
    EXPECT_TRUE(w.form.close());
    EXPECT_FALSE(w.form.Session().Running());
    EXPECT_FALSE(w.link.IsOpen());
    const int kept = w.Points(0);
    QTest::qWait(100);
    EXPECT_EQ(w.Points(0), kept);
}

}  // namespace
}  // namespace ondrix
