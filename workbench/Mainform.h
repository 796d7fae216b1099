#pragma once
// The scope's main window: the tool bar of file and view commands, the trigger bar, the main
// menu, the plot Plot1 filling the middle with its pop-up menu, the bottom panel with one group
// per channel (title, on/off switch, address, value), the "Others" group (time interval and
// screen width) and the RUN and STOP buttons of the acquisition session, and the status bar.
//
// It owns the plot, the four channel records, the value boxes' data format, the session, the
// view commands and the trigger's display, and runs the start-up sequence (config.dat read, panel set from it) and
// the shut-down sequence (session stopped, config.dat written). The port settings, the serial
// link and the notifier are the program's, shared with its other windows; they must outlive
// the window.
//
// Units: the tool bar, menus, status bar, groups and pictures are their own units; this class
// wires them. Mainform.cpp holds construction, the panel and the session; MainformPlotInput.cpp
// the plot's mouse, pop-up menu and marker timer; MainformFiles.cpp recorded data and exports.
//
// Threads: everything here runs on the GUI thread. The session's tick hands its samples over
// through the window's executor, so the plot's channels are only ever touched here; file work
// runs on the file jobs' thread and hands its results back the same way.

#include <QCloseEvent>
#include <QEvent>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "acquisition/AcquisitionSession.h"
#include "acquisition/PortSettings.h"
#include "acquisition/SerialLink.h"
#include "acquisition/SettingsFile.h"
#include "acquisition/SettingsStore.h"
#include "platform/Notifier.h"
#include "platform/qt/FileJobs.h"
#include "platform/qt/QtExecutor.h"
#include "plot/component/Plot.h"
#include "plot/qt/PlotWidget.h"
#include "workbench/AboutBox.h"
#include "workbench/ChannelGroupBox.h"
#include "workbench/CommForm.h"
#include "workbench/CursorReadout.h"
#include "workbench/FileDialogs.h"
#include "workbench/FirmwareForm.h"
#include "workbench/MainformMenus.h"
#include "workbench/MainformStatusBar.h"
#include "workbench/MainformToolBar.h"
#include "workbench/ProtocolForm.h"
#include "workbench/SComAssistantForm.h"
#include "workbench/ToolLauncher.h"
#include "workbench/TriggerDisplay.h"
#include "workbench/TriggerToolBar.h"
#include "workbench/OthersGroupBox.h"
#include "workbench/PlotChannelSink.h"
#include "workbench/ViewCommands.h"

namespace ondrix {

// A recorded data file as read by a file job (MainformFiles.cpp).
struct RecordingRead;

struct MainformOptions {
    // Where config.dat is read at start-up and written at shut-down.
    SettingsLocation settings;
    // Addresses for the four boxes instead of the stored ones (a demo's), channel 1 first.
    std::optional<std::array<uint32_t, kChannelCount>> presetAddresses;
    // Started by a script (--run, --quit-after): a message at start-up must not hold the start.
    bool unattended = false;
    // Null: the desktop's dialogs.
    TFileDialogs* fileDialogs = nullptr;
    // The ports folder the link resolves COMn through, which the setup dialog describes and
    // binds devices in.
    std::string portsFolder = ProgramPortsFolder();
};

class TForm1 : public QMainWindow, private SessionHost {
public:
    TForm1(PortSettings& portSettings, SerialLink& link, Notifier& notifier, MainformOptions options);
    ~TForm1() override;
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // "RUN" and "STOP".
    void RunClick();
    void StopClick();

    const AcquisitionSession& Session() const { return *session_; }
    const ViewCommands& View() const { return *viewCommands_; }
    // Channel from 0: the record's MPU address as the address-box rule last accepted it, and
    // its switch state.
    uint32_t ChannelAddress(int channel) const { return channels_[channel].Address; }
    int32_t ChannelOn(int channel) const { return channels_[channel].On; }
    TDataFormat DataFormat() const { return dataFormat_; }
    TPlotWidget& PlotWindow() { return plotWindow_; }
    // File jobs given whose results have not arrived yet.
    int PendingFileJobs() const { return fileJobs_.Pending(); }
    // The "Firmware Variables" window.
    TFirmwareForm& FirmwareVariables() { return *firmwareForm_; }
    const TriggerDisplay& Trigger() const { return *trigger_; }

    // ---- The window's parts, named as the rest of the program knows them. Members are
    // declared in construction order: a parent before its children, the plot before its window.
private:
    QWidget central_;

public:
    TPlot Plot1;

private:
    TPlotWidget plotWindow_;
    QWidget panel_;

public:
    TMainToolBar ToolBar1;
    // In a row of its own under ToolBar1.
    TTriggerToolBar TriggerBar;
    TMainMenu MainMenu1;
    TSeparateAxisMenu PopupMenu1;
    // Channel 1 first: Ch1Title, CheckBox1, Edit1 and Ch1DataEdit are ChannelBoxes[0]'s.
    std::array<TChannelGroupBox, kChannelCount> ChannelBoxes;
    TOthersGroupBox Others;
    QPushButton Run;
    QPushButton Stop;
    TMainStatusBar StatusBar1;
    // Every 500 ms: the markers' span rule and the link statistics.
    QTimer Timer1;

protected:
    // The shut-down sequence.
    void closeEvent(QCloseEvent* event) override;
    // Hints of the control under the mouse go to status panel 0.
    bool event(QEvent* event) override;
    // The plot window's clicks, double clicks and moves.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ---- SessionHost ----
    std::array<bool, kChannelCount> ChannelSwitches() const override;
    std::optional<std::array<ChannelRequest, kChannelCount>> ParseChannelRequests() override;
    void SessionReset() override;
    void SessionStateChanged(bool running) override;
    void SessionDeviceLost(int portNumber, const std::string& reason) override;
    void SessionDeviceRejoined() override;
    void SessionReopened() override;
    void SessionLinkChanged() override;
    void SessionSamplesAppended(double firstX, const std::vector<SampleValues>& frames) override;

    // ---- Construction (Mainform.cpp) ----
    void BuildPanel();
    void ConnectToolBar();
    void ConnectMenus();
    void ConnectPlot();
    // `stored`: ondrix.ini's settings.
    void StartUp(const ExtraSettings& stored);
    void ShutDown();
    // Runs a view command, then shows the buttons as the commands left them, also when the
    // states did not change (a latching button the user clicked is put back).
    void RunViewCommand(const std::function<void(ViewCommands&)>& command);
    void ShowViewStates(const ViewButtonStates& states);

    // ---- Channel panel (Mainform.cpp) ----
    // The address-box rule for one box, channel from 0. False when the text cannot be
    // converted at all; a refused character shows its message but counts as handled.
    bool ApplyAddressBox(int channel);
    void SwitchClicked(int channel, bool on);
    void ScreenWidthExit();
    void ShowAddress(int channel);
    // The title boxes' texts into the records' title fields.
    void TakeTitles();
    void CommunicationSetup();
    // The trigger bar's settings into the display and into ondrix.ini.
    void TriggerSettingsChanged();

    // ---- Plot input (MainformPlotInput.cpp) ----
    void PlotMouseMove(int x);
    void PlotClick();
    void PlotDblClick();
    void SeparateAxisChosen(int channel);
    void Timer1Timer();

    // ---- Files (MainformFiles.cpp) ----
    void SaveClick();
    void OpenClick();
    void SaveForMatlabClick();
    // The four channels' values as 16-bit numbers, oldest first.
    std::array<std::vector<int16_t>, kChannelCount> ChannelValues() const;
    void ShowOpenedRecording(const std::string& fileName, const RecordingRead& read);
    void ShowFileCaption(const std::string& fileName);

    PortSettings& portSettings_;
    Notifier& notifier_;
    MainformOptions options_;
    std::unique_ptr<TFileDialogs> desktopDialogs_;
    TFileDialogs& fileDialogs_;
    QVBoxLayout layout_;

    // The ChannelConfig records, channel 1 first.
    std::array<ChannelConfig, kChannelCount> channels_;
    // The addresses config.dat gave (or the initial ones): what it keeps for a box that still
    // shows an address preset for this run only.
    std::array<uint32_t, kChannelCount> storedAddresses_{};
    TDataFormat dataFormat_ = TDataFormat::Dec;
    // The sample of the previous time-interval measurement.
    int32_t lastCursorX_ = 0;
    // A left press on the plot that a release there makes a click (a double click does not).
    bool plotClickPending_ = false;

    QtExecutor guiThread_;
    std::vector<PlotChannelSink> sinks_;
    std::unique_ptr<AcquisitionSession> session_;
    std::unique_ptr<ViewCommands> viewCommands_;
    std::unique_ptr<TriggerDisplay> trigger_;
    TFileJobs fileJobs_;

    // The other windows, made once after the main window and shown modally from it.
    std::unique_ptr<TCommForm> commForm_;
    std::unique_ptr<TAboutBox> aboutBox_;
    std::unique_ptr<TProtocolForm> protocolForm_;
    std::unique_ptr<TSComAssistantForm> assistant_;
    std::unique_ptr<TToolLauncher> toolLauncher_;
    std::unique_ptr<TFirmwareForm> firmwareForm_;
};

}  // namespace ondrix
