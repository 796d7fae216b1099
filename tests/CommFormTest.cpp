// The "Comm Set" dialog on the headless platform: its boxes write the port settings as they
// change, "OK" opens the port on a pseudo-terminal, and the port box tells which device each
// COMn reaches and binds a device no COMn reaches yet.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "PortLinks.h"
#include "RecordingNotifier.h"
#include "TemporaryFolder.h"
#include "platform/PosixSerialDevice.h"
#include "platform/PseudoTerminal.h"
#include "workbench/CommForm.h"

namespace ondrix {
namespace {

namespace fs = std::filesystem;

// The devices a test says the system lists; shared with the test so that it can plug one in
// while the dialog is up.
class FakeDevices final : public SerialDeviceCatalog {
public:
    explicit FakeDevices(std::shared_ptr<std::vector<SerialDeviceInfo>> devices) : devices_(std::move(devices)) {}
    std::vector<SerialDeviceInfo> Devices() const override { return *devices_; }

private:
    std::shared_ptr<std::vector<SerialDeviceInfo>> devices_;
};

const std::string kInitialSummary = "|COM1|Baud = 9600|Data Length = 8|NOPARITY  |ONESTOPBIT  ";

class CommFormTest : public ::testing::Test {
protected:
    explicit CommFormTest(SerialDeviceOpener opener = PosixSerialDeviceOpener())
        : link(settings, notifier, PortResolverForFolder(PortsFolder()), std::move(opener)) {}

    // The dialog is made on first use, so that a test can set the settings it starts from.
    TCommForm& Form() {
        if (!form_) {
            form_ = std::make_unique<TCommForm>(settings, link, notifier, PortsFolder(),
                                                std::make_unique<FakeDevices>(devices));
        }
        return *form_;
    }
    TCommForm& Shown() {
        Form().show();
        return *form_;
    }

    std::string PortsFolder() const { return (root.Path() / "ports").string(); }
    // A stand-in device node: a file, so that links to it resolve like links to a device.
    std::string MakeNode(const std::string& name) {
        const fs::path node = root.Path() / "dev" / name;
        fs::create_directories(node.parent_path());
        std::ofstream(node.string()).put('\0');
        return fs::canonical(node).string();
    }
    void PointCom(int number, const std::string& device) {
        fs::create_directories(PortsFolder());
        test::PointPortAt(fs::path(PortsFolder()) / ("COM" + std::to_string(number)), device);
    }

    test::TemporaryFolder root;
    PortSettings settings;
    RecordingNotifier notifier;
    SerialLink link;
    std::shared_ptr<std::vector<SerialDeviceInfo>> devices = std::make_shared<std::vector<SerialDeviceInfo>>();

private:
    std::unique_ptr<TCommForm> form_;
};

QStringList Items(const QComboBox& box) {
    QStringList items;
    for (int i = 0; i < box.count(); ++i) items << box.itemText(i);
    return items;
}

TEST_F(CommFormTest, HasTheCaptionSizeBoxesAndLabelsOfTheDialog) {
    TCommForm& form = Shown();
    EXPECT_EQ(form.windowTitle(), "Comm Set");
    EXPECT_EQ(form.size(), QSize(337, 172));
    EXPECT_EQ(form.GroupBox1.title(), "  Comm Setup  ");

    QStringList ports;
    for (int n = 1; n <= 12; ++n) ports << QStringLiteral("COM%1").arg(n);
    const struct {
        const QLabel& label;
        const char* labelText;
        const QComboBox& box;
        QStringList items;
        bool editable;
    } boxes[] = {
        {form.Label1, "Comm No.", form.ComboBox1, ports, true},
        {form.Label2, "Baud rate", form.ComboBox2,
         {"300", "600", "1200", "2400", "4800", "9600", "19200", "38400", "56000", "57600", "115200", "128000",
          "153600", "230400", "250000", "256000", "460800", "500000", "576000", "625000"},
         true},
        {form.Label3, "Verify bits", form.ComboBox3, {"No ", "Odd", "Even"}, false},
        {form.Label4, "Data bits", form.ComboBox4, {"7", "8"}, false},
        {form.Label5, "Stop Bits", form.ComboBox5, {"1", "1.5", "2"}, false},
    };
    for (const auto& box : boxes) {
        SCOPED_TRACE(box.labelText);
        EXPECT_EQ(box.label.text(), box.labelText);
        EXPECT_TRUE(box.label.font().underline());
        EXPECT_EQ(Items(box.box), box.items);
        EXPECT_EQ(box.box.isEditable(), box.editable);
        EXPECT_TRUE(form.rect().contains(box.box.mapTo(&form, box.box.rect().bottomRight())));
    }
    EXPECT_EQ(form.ComboBox1.parentWidget(), &form);  // the one box outside the group
    EXPECT_EQ(form.BitBtn5.text(), "Default");
    EXPECT_EQ(form.Button1.text(), "OK");
    EXPECT_EQ(form.Exit.text(), "Exit");
    EXPECT_EQ(form.Summary(), kInitialSummary);
}

TEST_F(CommFormTest, ExecShowsTheDialogModallyCentredOnTheWindowThatOpenedIt) {
    QWidget opener;
    opener.setGeometry(100, 80, 800, 600);
    opener.show();
    TCommForm& form = Form();
    QPoint centre;
    bool modal = false;
    QTimer::singleShot(0, &form, [&] {
        centre = form.frameGeometry().center();
        modal = form.isModal() && form.isVisible();
        form.OkClick();
    });
    EXPECT_EQ(form.Exec(&opener), QDialog::Accepted);
    EXPECT_TRUE(modal);
    // The dialog's frame is known only once it is shown: its placement may be off by the frame.
    EXPECT_LE((centre - opener.frameGeometry().center()).manhattanLength(), 10);
}

TEST_F(CommFormTest, ShowingFillsTheBoxesFromTheSettings) {
    const struct {
        const char* name;
        PortSettings settings;
        int port, parity, dataBits, stopBits;
        const char* portText;
        const char* baudText;
    } cases[] = {
        {"fast line", {12, 115200, 7, 2, 1}, 11, 2, 0, 1, "COM12", "115200"},
        {"codes out of range leave their boxes", {3, 300, 9, 7, 5}, 2, 0, 0, 0, "COM3", "300"},
        {"port 0 names no item", {0, 9600, 8, 1, 2}, -1, 1, 1, 2, "", "9600"},
        {"a port past the list is shown as typed", {13, 9600, 8, 0, 0}, -1, 0, 1, 0, "COM13", "9600"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        settings = c.settings;
        TCommForm form(settings, link, notifier, PortsFolder(), nullptr);
        form.show();
        EXPECT_EQ(form.ComboBox1.currentIndex(), c.port);
        EXPECT_EQ(form.ComboBox1.currentText(), c.portText);
        EXPECT_EQ(form.ComboBox2.currentText(), c.baudText);
        EXPECT_EQ(form.ComboBox3.currentIndex(), c.parity);
        EXPECT_EQ(form.ComboBox4.currentIndex(), c.dataBits);
        EXPECT_EQ(form.ComboBox5.currentIndex(), c.stopBits);
        EXPECT_EQ(settings, c.settings) << "filling the boxes wrote to the settings";
    }
}

TEST_F(CommFormTest, TypedBaudRateIsTakenWhenTheBoxIsLeft) {
    const struct {
        const char* typed;
        int32_t rate;
        std::vector<std::string> messages;
    } cases[] = {
        {"74880", 74880, {}},
        {"fast", 115200, {"Invalid data"}},
        {"99999999999", 115200, {"Invalid data"}},
        {"", 115200, {"Invalid data"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        settings.BaudRate = 115200;
        notifier.Clear();
        TCommForm form(settings, link, notifier, PortsFolder(), nullptr);
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        form.ComboBox2.setFocus();
        form.ComboBox2.lineEdit()->selectAll();
        QTest::keyClicks(form.ComboBox2.lineEdit(), c.typed);
        if (std::string(c.typed).empty()) QTest::keyClick(form.ComboBox2.lineEdit(), Qt::Key_Delete);
        EXPECT_EQ(settings.BaudRate, 115200) << "taken before the box was left";
        form.ComboBox3.setFocus();
        EXPECT_EQ(settings.BaudRate, c.rate);
        EXPECT_EQ(notifier.messages, c.messages);
        form.close();
    }
}

TEST_F(CommFormTest, ChoosingAnItemWritesTheSettingAtOnce) {
    const struct {
        const char* name;
        QComboBox& (*box)(TCommForm&);
        int item;
        int32_t PortSettings::*field;
        int32_t value;
    } cases[] = {
        {"COM12", [](TCommForm& f) -> QComboBox& { return f.ComboBox1; }, 11, &PortSettings::PortNumber, 12},
        {"115200 from the list", [](TCommForm& f) -> QComboBox& { return f.ComboBox2; }, 10, &PortSettings::BaudRate, 115200},
        {"Odd", [](TCommForm& f) -> QComboBox& { return f.ComboBox3; }, 1, &PortSettings::Parity, 1},
        {"7 data bits", [](TCommForm& f) -> QComboBox& { return f.ComboBox4; }, 0, &PortSettings::DataBits, 7},
        {"2 stop bits", [](TCommForm& f) -> QComboBox& { return f.ComboBox5; }, 2, &PortSettings::StopBits, 2},
    };
    TCommForm& form = Shown();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.box(form).setCurrentIndex(c.item);
        EXPECT_EQ(settings.*c.field, c.value);
    }
}

TEST_F(CommFormTest, EvenParityAndOneAndAHalfStopBitsEndTheSummary) {
    TCommForm& form = Shown();
    form.ComboBox3.setCurrentIndex(2);
    form.ComboBox5.setCurrentIndex(1);
    form.Exit.click();
    const std::string ending = "|EVENPARITY|ONE5STOPBITS";
    ASSERT_GE(form.Summary().size(), ending.size());
    EXPECT_EQ(form.Summary().substr(form.Summary().size() - ending.size()), ending);
}

TEST_F(CommFormTest, TypedPortNameSetsThePortNumber) {
    const struct {
        const char* typed;
        int32_t port;
    } cases[] = {{"COM7", 7}, {"com5", 5}, {"COM13", 13}, {"USB0", 0}, {"COM0", 0}, {"COM", 0}};
    TCommForm& form = Shown();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        form.ComboBox1.lineEdit()->clear();
        QTest::keyClicks(form.ComboBox1.lineEdit(), c.typed);
        EXPECT_EQ(settings.PortNumber, c.port);
    }

    // Choosing from the list the item that was current before the typing still counts.
    form.ComboBox1.setCurrentIndex(1);
    form.ComboBox1.lineEdit()->clear();
    QTest::keyClicks(form.ComboBox1.lineEdit(), "USB0");
    ASSERT_EQ(settings.PortNumber, 0);
    form.ComboBox1.showPopup();
    QTest::keyClick(form.ComboBox1.view(), Qt::Key_Return);
    EXPECT_EQ(settings.PortNumber, 2);
    EXPECT_EQ(form.ComboBox1.currentText(), "COM2");
}

TEST_F(CommFormTest, DefaultRestoresTheInitialSettings) {
    settings = {7, 115200, 7, 2, 2};
    TCommForm& form = Shown();
    form.BitBtn5.click();
    EXPECT_EQ(settings, PortSettings{});
    EXPECT_EQ(form.ComboBox1.currentText(), "COM1");
    EXPECT_EQ(form.ComboBox2.currentText(), "9600");
    EXPECT_EQ(form.ComboBox3.currentIndex(), 0);
    EXPECT_EQ(form.ComboBox4.currentIndex(), 1);
    EXPECT_EQ(form.ComboBox5.currentIndex(), 0);
    EXPECT_EQ(form.Summary(), SettingsSummary({7, 115200, 7, 2, 2})) << "rebuilt before the dialog closed";
    form.Exit.click();
    EXPECT_EQ(form.Summary(), kInitialSummary);
}

TEST_F(CommFormTest, ExitAndTheCloseBoxKeepTheChanges) {
    TCommForm& form = Shown();
    form.ComboBox2.setCurrentIndex(10);
    form.Exit.click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(settings.BaudRate, 115200);
    EXPECT_EQ(form.Summary(), SettingsSummary(settings));

    form.show();
    form.ComboBox4.setCurrentIndex(0);
    form.close();
    EXPECT_EQ(settings.DataBits, 7);
    EXPECT_EQ(form.Summary(), SettingsSummary(settings));
    EXPECT_FALSE(link.IsOpen());
}

TEST_F(CommFormTest, OkOpensThePortOrSaysWhyNotAndClosesEitherWay) {
    PseudoTerminal pty;
    PointCom(1, pty.SlavePath());
    test::PointPortAtNothing(fs::path(PortsFolder()) / "COM2");
    const struct {
        int port;
        bool opens;
        std::vector<std::string> messages;
    } cases[] = {{1, true, {}},
                 {2, false, {"Open COM2 Err!\n" + PortsFolder() + "/COM2: " + std::generic_category().message(ENOENT)}},
                 {1, true, {}}};
    TCommForm& form = Shown();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        notifier.Clear();
        form.show();
        form.ComboBox1.setCurrentIndex(c.port - 1);
        form.ComboBox2.setCurrentIndex(10);
        form.Button1.click();
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_EQ(link.IsOpen(), c.opens);
        if (c.opens) {
            EXPECT_EQ(link.OpenSettings().BaudRate, 115200);
        }
        EXPECT_EQ(notifier.messages, c.messages);
    }
}

// An opener that fails in a way no step expects.
class CommFormBrokenOpenerTest : public CommFormTest {
protected:
    CommFormBrokenOpenerTest()
        : CommFormTest([](const std::string&, std::string&) -> std::unique_ptr<SerialDevice> {
              throw std::runtime_error("driver fault");
          }) {}
};

TEST_F(CommFormBrokenOpenerTest, AnyOtherErrorOnOkSaysThePortCouldNotBeOpened) {
    TCommForm& form = Shown();
    form.ComboBox1.setCurrentIndex(2);
    form.Button1.click();
    EXPECT_EQ(notifier.messages, std::vector<std::string>{"Open COM3 Err!\nComm Set: driver fault"});
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(link.IsOpen());
}

TEST_F(CommFormTest, PortBoxTellsWhichDeviceEachComReaches) {
    const std::string adapter = MakeNode("ttyUSB1");
    devices->push_back({adapter, "", "CP2102 USB to UART Bridge Controller", "Silicon Labs", "0001"});
    PointCom(4, adapter);
    TCommForm& form = Shown();

    const std::string expected = "COM4 → " + adapter + "\nthrough " + PortsFolder() +
                                 "/COM4\nCP2102 USB to UART Bridge Controller, Silicon Labs, serial number 0001";
    EXPECT_EQ(form.ComboBox1.itemData(3, Qt::ToolTipRole).toString().toStdString(), expected);
    EXPECT_EQ(form.ComboBox1.itemData(4, Qt::ToolTipRole).toString().toStdString().rfind("COM5 → /dev/ttyS4", 0), 0u);

    form.ComboBox1.setCurrentIndex(3);
    EXPECT_EQ(form.ComboBox1.toolTip().toStdString(), expected);
    EXPECT_EQ(form.PortDevice.toolTip().toStdString(), expected);
    EXPECT_TRUE(form.PortDevice.text().endsWith("ttyUSB1"));
}

TEST_F(CommFormTest, ChoosingAnUnlistedDeviceBindsItToAFreeComNumber) {
    PseudoTerminal pty;
    PointCom(1, pty.SlavePath());
    test::PointPortAtNothing(fs::path(PortsFolder()) / "COM2");  // taken, though nothing is there now
    const std::string listed = MakeNode("ttyACM0");
    PointCom(3, listed);
    const std::string first = MakeNode("ttyUSB0");
    const std::string byId = (root.Path() / "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0").string();
    fs::create_symlink(first, byId);
    const std::string second = MakeNode("ttyUSB1");
    *devices = {{listed, "", "", "", ""},
                {first, byId, "FT232R USB UART", "FTDI", "A50285BI"},
                {second, "", "", "", ""}};
    TCommForm& form = Shown();

    // COM1..COM3 have entries; COM4's /dev/ttyS3 is not a device the system lists.
    ASSERT_EQ(form.ComboBox1.count(), 12 + 1 + 2);
    EXPECT_EQ(form.ComboBox1.itemText(13).toStdString(), first + " as COM4");
    EXPECT_EQ(form.ComboBox1.itemText(14).toStdString(), second + " as COM5");
    EXPECT_NE(form.ComboBox1.itemData(13, Qt::ToolTipRole).toString().indexOf("FT232R USB UART, FTDI"), -1);

    form.ComboBox1.setCurrentIndex(13);
    const fs::path entry = fs::path(PortsFolder()) / "COM4";
    ASSERT_TRUE(fs::is_symlink(entry));
    EXPECT_EQ(fs::read_symlink(entry).string(), byId);
    EXPECT_EQ(settings.PortNumber, 4);
    EXPECT_EQ(form.ComboBox1.currentIndex(), 3);
    EXPECT_NE(form.ComboBox1.itemData(3, Qt::ToolTipRole).toString().indexOf("FT232R USB UART"), -1);
    EXPECT_TRUE(notifier.messages.empty());

    // The one left moves up to the next free number; one with no stable name is linked as it is.
    ASSERT_EQ(form.ComboBox1.count(), 12 + 1 + 1);
    EXPECT_EQ(form.ComboBox1.itemText(13).toStdString(), second + " as COM5");
    form.ComboBox1.setCurrentIndex(13);
    EXPECT_EQ(fs::read_symlink(fs::path(PortsFolder()) / "COM5").string(), second);
    EXPECT_EQ(settings.PortNumber, 5);
    EXPECT_EQ(form.ComboBox1.count(), 12);
}

TEST_F(CommFormTest, AnAdapterPluggedInWhileTheDialogIsUpIsOfferedWhenTheListOpens) {
    TCommForm& form = Shown();
    const int before = form.ComboBox1.count();
    devices->push_back({MakeNode("ttyUSB0"), "", "", "", ""});
    form.ComboBox1.showPopup();
    form.ComboBox1.hidePopup();
    EXPECT_EQ(form.ComboBox1.count(), before + 2);
}

}  // namespace
}  // namespace ondrix
