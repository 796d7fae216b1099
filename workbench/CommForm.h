#pragma once
// TCommForm, the "Comm Set" dialog: edits the program's PortSettings box by box, each change
// taking effect at once (there is no Cancel); "OK" also opens the port with them, or hands that
// to the opener when a session of its holds the port (see Exec).
//
// Wiring: the program creates one dialog after the main window, with the program's settings,
// link and notifier, ProgramPortsFolder() and a SystemSerialDevices, and shows it from any
// window with Exec(&thatWindow). Afterwards that window puts Summary() in its status bar:
//
//     commForm.Exec(this);
//     StatusBar1.SettingsPanel.setText(QString::fromStdString(commForm.Summary()));
//
// The ports folder must be the one the SerialLink's resolver reads, so that the devices shown
// are the ones opened.
//
// On Linux the port box also tells which device each COMn reaches (tool tips, and the device
// beside the box), and offers the devices the system lists that no COMn reaches yet: choosing
// one writes a ports-folder link for a free COM number and selects it.
//
// Threads: GUI thread only.

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "acquisition/PortSettings.h"
#include "acquisition/SerialLink.h"
#include "platform/Notifier.h"
#include "workbench/FocusExit.h"
#include "workbench/PortComboBox.h"
#include "workbench/PortMap.h"
#include "workbench/SerialDeviceCatalog.h"

namespace ondrix {

class TCommForm : public QDialog {
public:
    static constexpr int kClientWidth = 337;
    static constexpr int kClientHeight = 172;
    // COM1..COM12 are the port box's items; rows after them bind unlisted devices.
    static constexpr int kPortItems = 12;

    TCommForm(PortSettings& settings, SerialLink& link, Notifier& notifier, std::string portsFolder,
              std::unique_ptr<SerialDeviceCatalog> devices, QWidget* parent = nullptr);

    // Shows the dialog modally, centred on `opener` (or on the parent). QDialog::Accepted
    // after "OK", QDialog::Rejected after "Exit" or the close box. `openPort`, when given, is
    // what "OK" does instead of opening the shared link itself: an opener whose running
    // acquisition reads the link must reopen it its own way, never under that acquisition.
    int Exec(QWidget* opener = nullptr, std::function<void()> openPort = {});

    // SettingsSummary as it was when the dialog was created or last closed.
    const std::string& Summary() const { return summary_; }

    // Named as the rest of the program knows them.
    QLabel Label1;  // "Comm No."
    TPortComboBox ComboBox1;
    // The device COM<PortNumber> reaches, elided; its tool tip says what it is.
    QLabel PortDevice;
    QGroupBox GroupBox1;
    QLabel Label2;  // "Baud rate"
    QComboBox ComboBox2;
    QLabel Label3;  // "Verify bits"
    QComboBox ComboBox3;
    QLabel Label4;  // "Data bits"
    QComboBox ComboBox4;
    QLabel Label5;  // "Stop Bits"
    QComboBox ComboBox5;
    QPushButton BitBtn5;  // "Default"
    QPushButton Button1;  // "OK"
    QPushButton Exit;

    // The handlers, also for tests.
    void BaudBoxExit();
    void DefaultClick();
    void OkClick();

protected:
    void showEvent(QShowEvent* event) override;
    // Every way of closing ends here.
    void done(int result) override;

private:
    void BuildControls();
    void Connect();
    void FillFromSettings();
    void PortBoxChanged(int index);
    void PortBoxEdited(const QString& text);
    void BaudBoxChanged(int index);
    // Descriptions of COM1..COM12 and the rows for unlisted devices, from a fresh device list.
    void RefreshPorts();
    void ShowPortDevice();
    void Bind(const UnlistedDevice& unlisted);

    PortSettings& settings_;
    SerialLink& link_;
    Notifier& notifier_;
    std::string portsFolder_;
    std::unique_ptr<SerialDeviceCatalog> devices_;
    // The devices the catalog listed last, and what COM1..COM12 reach among them.
    std::vector<SerialDeviceInfo> devicesSeen_;
    PortMap ports_;
    TFocusExit baudExit_;
    std::string summary_;
    // What "OK" does while the dialog is up; empty: open the link.
    std::function<void()> openPort_;
    // Set while the boxes are filled from the settings, so that filling writes nothing back.
    bool filling_ = false;
};

// The baud box's text as the decimal integer it must be: optional sign and digits, blanks
// around them allowed, within 32 bits.
std::optional<int32_t> ParseBaudRate(const std::string& text);
// A port name typed into the port box: "COMn" (any case) for n >= 1, else 0, the number no
// device has.
int32_t ParsePortName(const std::string& text);

}  // namespace ondrix
