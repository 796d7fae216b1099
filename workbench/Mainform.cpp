#include "workbench/Mainform.h"

#include <QFont>
#include <QPalette>
#include <QScreen>
#include <QStatusTipEvent>
#include <QString>

#include "acquisition/ChannelAddress.h"
#include "acquisition/ExtraSettings.h"
#include "plot/channels/PlotChannel.h"
#include "plot/qt/QtCanvas.h"
#include "workbench/MainformGeometry.h"
#include "workbench/MainformIcons.h"
#include "workbench/ScopePlotConfiguration.h"
#include "workbench/SystemSerialDevices.h"

namespace ondrix {

namespace {

// The trace colours of the plot's channels.
constexpr TColor kChannelColors[kChannelCount] = {clRed, clYellow, clBlue, clFuchsia};

constexpr int kFontPixels = 11;  // 8 points at 96 pixels per inch
constexpr int kTimer1IntervalMs = 500;

QString RunningCaption() { return QStringLiteral("Ondrix  ---  Running..."); }

std::unique_ptr<TFileDialogs> DesktopDialogsUnlessGiven(const TFileDialogs* given, QWidget& parent) {
    if (given) return nullptr;
    return std::make_unique<TQtFileDialogs>(parent);
}

void Place(QWidget& widget, const mainform::TPlace& place) {
    widget.setGeometry(place.Left, place.Top, place.Width, place.Height);
}

}  // namespace

TForm1::TForm1(PortSettings& portSettings, SerialLink& link, Notifier& notifier, MainformOptions options)
    : plotWindow_(Plot1, &central_),
      panel_(&central_),
      ToolBar1(this),
      TriggerBar(this),
      MainMenu1(*menuBar()),
      PopupMenu1(this),
      ChannelBoxes{{{1, kChannelColors[0], &panel_},
                    {2, kChannelColors[1], &panel_},
                    {3, kChannelColors[2], &panel_},
                    {4, kChannelColors[3], &panel_}}},
      Others(&panel_),
      Run(QStringLiteral("RUN"), &panel_),
      Stop(QStringLiteral("STOP"), &panel_),
      StatusBar1(this),
      portSettings_(portSettings),
      notifier_(notifier),
      options_(std::move(options)),
      desktopDialogs_(DesktopDialogsUnlessGiven(options_.fileDialogs, *this)),
      fileDialogs_(options_.fileDialogs ? *options_.fileDialogs : *desktopDialogs_),
      layout_(&central_),
      channels_(ScopeSettings().Channels) {
    // Before anything else happens to the plot: its configuration, with the channels' rings.
    ConfigureScopePlot(Plot1);
    sinks_.reserve(kChannelCount);
    for (int c = 0; c < kChannelCount; ++c) sinks_.emplace_back(*Plot1.GetChannel(c));
    const std::array<ChannelSink*, kChannelCount> sinks{&sinks_[0], &sinks_[1], &sinks_[2], &sinks_[3]};
    session_ = std::make_unique<AcquisitionSession>(link, guiThread_, static_cast<SessionHost&>(*this), sinks);
    viewCommands_ = std::make_unique<ViewCommands>(Plot1, [this] { return session_->ScreenWidth(); });
    viewCommands_->OnStatesChange = [this](const ViewButtonStates& states) { ShowViewStates(states); };
    trigger_ = std::make_unique<TriggerDisplay>(Plot1, *viewCommands_);
    fileJobs_.OnUnexpectedError = [this](const std::string& job, const std::string& error) {
        notifier_.ShowMessage("Unexpected error while " + job + ": " + error);
    };

    setWindowTitle(QStringLiteral("Serial Ondrix"));
    setWindowIcon(WindowIcon());
    QFont font(ResolveFontFamily("MS Sans Serif"));
    font.setPixelSize(kFontPixels);
    setFont(font);

    addToolBar(Qt::TopToolBarArea, &ToolBar1);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, &TriggerBar);
    BuildPanel();
    layout_.setContentsMargins(0, 0, 0, 0);
    layout_.setSpacing(0);
    layout_.addWidget(&plotWindow_, 1);
    layout_.addWidget(&panel_);
    setCentralWidget(&central_);
    setStatusBar(&StatusBar1);
    plotWindow_.setAccessibleName(QStringLiteral("Plot"));
    ToolBar1.setAccessibleName(QStringLiteral("Tool bar"));

    ConnectToolBar();
    ConnectMenus();
    ConnectPlot();
    StatusBar1.OnClick = [this] { CommunicationSetup(); };
    trigger_->OnStatus = [this](const std::string& text) { StatusBar1.HintPanel.setText(QString::fromStdString(text)); };
    TriggerBar.OnChange = [this] { TriggerSettingsChanged(); };
    commForm_ = std::make_unique<TCommForm>(portSettings_, link, notifier_, options_.portsFolder,
                                            std::make_unique<SystemSerialDevices>(), this);
    aboutBox_ = std::make_unique<TAboutBox>(this);
    protocolForm_ = std::make_unique<TProtocolForm>(this);
    assistant_ = std::make_unique<TSComAssistantForm>(portSettings_, link, notifier_, this);
    assistant_->OnSetupRequested = [this] { commForm_->Exec(assistant_.get()); };
    toolLauncher_ = std::make_unique<TToolLauncher>(notifier_, *this);
    TFirmwareHost firmwareHost;
    for (int c = 0; c < kChannelCount; ++c) firmwareHost.channels[c] = &ChannelBoxes[c];
    firmwareHost.running = [this] { return session_->Running(); };
    firmwareHost.showStatus = [this](const QString& text) { StatusBar1.HintPanel.setText(text); };
    firmwareForm_ = std::make_unique<TFirmwareForm>(fileJobs_, notifier_, fileDialogs_, options_.settings,
                                                    std::move(firmwareHost), this);
    Timer1.setInterval(kTimer1IntervalMs);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    setMinimumSize(mainform::kWindowWidth, mainform::kWindowHeight);
    resize(mainform::kWindowWidth, mainform::kWindowHeight);
    if (const QScreen* desktop = screen()) move(desktop->availableGeometry().center() - rect().center());

    // ondrix.ini is read once, for the trigger and the firmware variables alike.
    const ExtraSettings stored = LoadExtraSettingsFile(options_.settings);
    StartUp(stored);
    // Its variables' names are looked up against the addresses config.dat gave.
    firmwareForm_->Start(stored, options_.presetAddresses.has_value());
    Timer1.start();
}

// The plot and its window outlive the commands and the session, which their hooks call.
TForm1::~TForm1() {
    Timer1.stop();
    plotWindow_.removeEventFilter(this);
    Plot1.OnXAxisSpanChange = nullptr;
    Plot1.OnYAxisSpanChange = nullptr;
    Plot1.OnBeforeZoomBox = nullptr;
}

// ---- Construction ------------------------------------------------------------------------

void TForm1::BuildPanel() {
    using namespace mainform;
    panel_.setFixedHeight(kPanelHeight);
    panel_.setAutoFillBackground(true);
    QPalette grey = panel_.palette();
    grey.setColor(QPalette::Window, ToQColor(clGray));
    panel_.setPalette(grey);

    for (int c = 0; c < kChannelCount; ++c) {
        TChannelGroupBox& box = ChannelBoxes[c];
        box.setGeometry(kChannelBoxFirstLeft + c * kChannelBoxPitch, kChannelBoxTop, kChannelBoxWidth,
                        kChannelBoxHeight);
        connect(&box.Switch, &QCheckBox::toggled, this, [this, c](bool on) { SwitchClicked(c, on); });
        box.OnAddressExit = [this, c] { ApplyAddressBox(c); };
    }
    Place(Others, kOthersBox);
    Others.OnScreenWidthExit = [this] { ScreenWidthExit(); };

    Place(Run, kRunButton);
    Place(Stop, kStopButton);
    Stop.setEnabled(false);
    Run.setAccessibleName(QStringLiteral("RUN"));
    Stop.setAccessibleName(QStringLiteral("STOP"));
    for (QPushButton* button : {&Run, &Stop}) button->setCursor(Qt::PointingHandCursor);
    connect(&Run, &QPushButton::clicked, this, [this] { RunClick(); });
    connect(&Stop, &QPushButton::clicked, this, [this] { StopClick(); });
}

void TForm1::RunViewCommand(const std::function<void(ViewCommands&)>& command) {
    command(*viewCommands_);
    ShowViewStates(viewCommands_->States());
}

void TForm1::ShowViewStates(const ViewButtonStates& states) {
    ToolBar1.ApplyViewStates(states);
    MainMenu1.ApplyViewStates(states);
}

void TForm1::ConnectToolBar() {
    const auto bind = [this](QAction& action, void (ViewCommands::*command)()) {
        connect(&action, &QAction::triggered, this,
                [this, command] { RunViewCommand([command](ViewCommands& view) { (view.*command)(); }); });
    };
    TMainToolBar& bar = ToolBar1;
    connect(&bar.ToolButton_Open, &QAction::triggered, this, [this] { OpenClick(); });
    connect(&bar.ToolButton_Save, &QAction::triggered, this, [this] { SaveClick(); });
    bind(bar.ToolButton_Resume, &ViewCommands::Resume);
    connect(&bar.ToolButton_Resume, &QAction::triggered, this, [this] { trigger_->Resumed(); });
    bind(bar.ToolButton_Pause, &ViewCommands::Pause);
    bind(bar.ToolButton_Move, &ViewCommands::Move);
    bind(bar.ToolButton_ZoomAxis, &ViewCommands::ZoomAxis);
    bind(bar.ToolButton_ZoomIn, &ViewCommands::ZoomIn);
    bind(bar.ToolButton_ZoomOut, &ViewCommands::ZoomOut);
    bind(bar.ToolButton_ZoomInX, &ViewCommands::ZoomInX);
    bind(bar.ToolButton_ZoomOutX, &ViewCommands::ZoomOutX);
    bind(bar.ToolButton_ZoomInY, &ViewCommands::ZoomInY);
    bind(bar.ToolButton_ZoomOutY, &ViewCommands::ZoomOutY);
    bind(bar.ToolButton_ZoomFit, &ViewCommands::ZoomFit);
    bind(bar.ToolButton_ZoomAll, &ViewCommands::ZoomAll);
    bind(bar.ToolButton_UnZoom, &ViewCommands::UnZoom);
    bind(bar.ToolButton_ReZoom, &ViewCommands::ReZoom);
    bind(bar.ToolButton_Sel, &ViewCommands::Select);
    bind(bar.ToolButton_ZoomSel, &ViewCommands::ZoomSel);
    bind(bar.ToolButton_Cursor, &ViewCommands::Cursor);
}

void TForm1::ConnectMenus() {
    TMainMenu& menu = MainMenu1;
    connect(&menu.Open, &QAction::triggered, this, [this] { OpenClick(); });
    connect(&menu.Save, &QAction::triggered, this, [this] { SaveClick(); });
    connect(&menu.SaveForMatlab, &QAction::triggered, this, [this] { SaveForMatlabClick(); });
    connect(&menu.Exit, &QAction::triggered, this, [this] { close(); });
    connect(&menu.CommunicationSetup, &QAction::triggered, this, [this] { CommunicationSetup(); });
    connect(&menu.FirmwareVariables, &QAction::triggered, this, [this] { firmwareForm_->ShowWindow(); });

    // A menu item and the tool button of the same name run the same command.
    const std::pair<QAction*, QAction*> sameCommand[] = {
        {&menu.UnZoom, &ToolBar1.ToolButton_UnZoom},   {&menu.ReZoom, &ToolBar1.ToolButton_ReZoom},
        {&menu.ZoomIn, &ToolBar1.ToolButton_ZoomIn},   {&menu.ZoomOut, &ToolBar1.ToolButton_ZoomOut},
        {&menu.XAxisZoomIn, &ToolBar1.ToolButton_ZoomInX}, {&menu.XAxisZoomOut, &ToolBar1.ToolButton_ZoomOutX},
        {&menu.YAxisZoomIn, &ToolBar1.ToolButton_ZoomInY}, {&menu.YAxisZoomOut, &ToolBar1.ToolButton_ZoomOutY},
        {&menu.ZoomFit, &ToolBar1.ToolButton_ZoomFit}, {&menu.ZoomAll, &ToolBar1.ToolButton_ZoomAll},
    };
    for (const auto& [item, button] : sameCommand) connect(item, &QAction::triggered, button, &QAction::trigger);

    connect(&menu.Hex, &QAction::triggered, this, [this] { dataFormat_ = TDataFormat::Hex; });
    connect(&menu.Dec, &QAction::triggered, this, [this] { dataFormat_ = TDataFormat::Dec; });

    connect(&menu.Calc, &QAction::triggered, this, [this] { toolLauncher_->RunCalculator(); });
    connect(&menu.Notepad, &QAction::triggered, this, [this] { toolLauncher_->RunEditor(); });
    connect(&menu.About, &QAction::triggered, this, [this] { aboutBox_->ShowModal(); });
    connect(&menu.CommunicationProtocol, &QAction::triggered, this, [this] { protocolForm_->ShowModal(); });
    // The assistant takes the one shared port: acquisition stops first.
    connect(&menu.SComAssistant, &QAction::triggered, this, [this] {
        StopClick();
        assistant_->exec();
    });
}

void TForm1::ConnectPlot() {
    Plot1.OnXAxisSpanChange = [this](int, double, double) { viewCommands_->AxisSpanChanged(); };
    Plot1.OnYAxisSpanChange = [this](int index, double, double) { viewCommands_->YAxisSpanChanged(index); };
    Plot1.OnBeforeZoomBox = [this](TPlotRect&, bool&) { viewCommands_->BeforeZoomBox(); };

    plotWindow_.installEventFilter(this);
    plotWindow_.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&plotWindow_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1.popup(plotWindow_.mapToGlobal(at)); });
    for (int i = 0; i < static_cast<int>(PopupMenu1.ShowYAxisFor.size()); ++i)
        connect(&PopupMenu1.ShowYAxisFor[static_cast<size_t>(i)], &QAction::triggered, this,
                [this, i] { SeparateAxisChosen(i + 1); });

    // The plot toolbar's picture exports speak through the scope's own messages, and through its
    // file dialogs when the scope was given some.
    TQtPlotExportHost& exports = *plotWindow_.ExportHost();
    exports.OnShowError = [this](const std::string& message) { notifier_.ShowMessage(message); };
    if (options_.fileDialogs != nullptr)
        exports.OnAskSaveFileName = [this](const QString& filter, const QString&) {
            return fileDialogs_.SaveFileName({filter.toStdString(), ""}).value_or("");
        };
}

// ---- Start-up and shut-down --------------------------------------------------------------

// One screen of zeros on hidden channels, then the channel records from config.dat into the
// boxes and the trigger's settings into its bar, then the switches of the channels that are on,
// which shows those channels.
void TForm1::StartUp(const ExtraSettings& stored) {
    RunViewCommand([](ViewCommands& view) { view.EmptyHistory(); });
    session_->PrefillChannels();

    ScopeSettings inUse;
    inUse.Channels = channels_;
    inUse.Port = portSettings_;
    const SettingsLoadResult loaded = LoadSettingsFile(options_.settings, inUse);
    const bool usable = !loaded.Refused();
    if (usable) {
        channels_ = loaded.settings.Channels;
        portSettings_ = loaded.settings.Port;
        for (int c = 0; c < kChannelCount; ++c) {
            ChannelBoxes[c].Title.setText(QString::fromStdString(channels_[c].Title.Text()));
            ShowAddress(c);
        }
    }
    for (int c = 0; c < kChannelCount; ++c) storedAddresses_[c] = channels_[c].Address;
    if (options_.presetAddresses) {
        for (int c = 0; c < kChannelCount; ++c) {
            channels_[c].Address = (*options_.presetAddresses)[c];
            ShowAddress(c);
        }
    }
    StatusBar1.SettingsPanel.setText(QString::fromStdString(SettingsSummary(portSettings_)));
    const SweepSettings trigger = ReadSweepSettings(stored);
    TriggerBar.Show(trigger);
    trigger_->Apply(trigger, session_->ScreenWidth());
    if (!usable) {
        // A start that a script drives must go on: the message then stays up without holding it.
        if (options_.unattended)
            notifier_.ShowMessageWithoutWaiting(loaded.message);
        else
            notifier_.ShowMessage(loaded.message);
        return;
    }
    for (int c = 0; c < kChannelCount; ++c)
        if (channels_[c].On != 0) ChannelBoxes[c].Switch.setChecked(true);
}

void TForm1::ShutDown() {
    session_->Stop();
    TakeTitles();
    ScopeSettings settings;
    settings.Channels = channels_;
    settings.Port = portSettings_;
    // Preset addresses are a demo's, for this run: the user's own stay in the file unless the
    // user typed over them.
    if (options_.presetAddresses)
        for (int c = 0; c < kChannelCount; ++c)
            if (settings.Channels[c].Address == (*options_.presetAddresses)[c])
                settings.Channels[c].Address = storedAddresses_[c];
    // Losing the setup quietly would surprise the user at the next start.
    const std::string failure = SaveSettingsFile(options_.settings, settings);
    if (!failure.empty()) notifier_.ShowMessage(failure);
}

void TForm1::closeEvent(QCloseEvent* event) {
    Timer1.stop();
    ShutDown();
    QMainWindow::closeEvent(event);
}

bool TForm1::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        StatusBar1.HintPanel.setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

// ---- RUN and STOP ------------------------------------------------------------------------

void TForm1::RunClick() { session_->Run(); }

void TForm1::StopClick() { session_->Stop(); }

// ---- Channel panel -----------------------------------------------------------------------

void TForm1::SwitchClicked(int channel, bool on) {
    Plot1.GetChannel(channel)->SetVisible(on);
    channels_[channel].On = on ? 1 : 0;
}

bool TForm1::ApplyAddressBox(int channel) {
    const QString text = ChannelBoxes[channel].Address.text();
    // One byte per character, so that a character outside Latin-1 is refused as one character.
    const ParsedAddress parsed = ParseAddressText(text.toLatin1().toStdString());
    switch (parsed.status) {
        case ParsedAddress::Status::Ok:
            channels_[channel].Address = parsed.value;
            return true;
        case ParsedAddress::Status::InvalidCharacter:
            notifier_.ShowMessage(InvalidAddressMessage(channel + 1));
            return true;
        case ParsedAddress::Status::NotConvertible:
            break;
    }
    notifier_.ShowMessage(AddressConversionMessage(channel + 1, text.toStdString()));
    return false;
}

void TForm1::ShowAddress(int channel) {
    ChannelBoxes[channel].Address.setText(QString::fromStdString(AddressText(channels_[channel].Address)));
}

void TForm1::TakeTitles() {
    for (int c = 0; c < kChannelCount; ++c) channels_[c].Title.SetText(ChannelBoxes[c].Title.text().toStdString());
}

void TForm1::ScreenWidthExit() {
    const auto width = ParseScreenWidth(Others.Edit5.text().toStdString());
    if (!width) {
        notifier_.ShowMessage("Invalid Screen Width");
        return;
    }
    session_->SetScreenWidth(*width);
    trigger_->Apply(trigger_->Settings(), *width);
    Plot1.GetXAxis(0)->SetSpan(*width);
    RunViewCommand([](ViewCommands& view) { view.Pause(); });
}

// Showing the dialog never stops a capture: its boxes only change the settings. Its OK must not
// reopen the shared port under the running session, which reads it on its own thread; the
// session reopens it itself, and only when the settings differ from those it runs with.
void TForm1::CommunicationSetup() {
    bool reopened = false;
    std::function<void()> reopen;
    if (session_->Running())
        reopen = [this, &reopened] {
            if (session_->PortInUse() == portSettings_) return;
            reopened = session_->Reopen();
        };
    commForm_->Exec(this, std::move(reopen));
    StatusBar1.SettingsPanel.setText(QString::fromStdString(commForm_->Summary()));
    const bool notApplied = session_->Running() && !(session_->PortInUse() == portSettings_);
    if (reopened) {
        StatusBar1.HintPanel.setText(
            QStringLiteral("COM%1 reopened with the new settings; the traces break where they apply")
                .arg(session_->PortInUse().PortNumber));
    } else if (notApplied) {
        StatusBar1.HintPanel.setText(QStringLiteral("The new port settings apply at the next RUN or OK"));
    }
}

void TForm1::TriggerSettingsChanged() {
    const SweepSettings settings = TriggerBar.Settings();
    trigger_->Apply(settings, session_->ScreenWidth());
    fileJobs_.Run<std::string>(
        std::string("saving ") + kExtraSettingsFileName,
        [location = options_.settings, settings] {
            return UpdateExtraSettingsFile(location, [&](ExtraSettings& stored) { WriteSweepSettings(settings, stored); });
        },
        [this](std::string failure) {
            if (!failure.empty()) notifier_.ShowMessage(failure);
        });
}

// ---- SessionHost -------------------------------------------------------------------------

std::array<bool, kChannelCount> TForm1::ChannelSwitches() const {
    std::array<bool, kChannelCount> switches{};
    for (int c = 0; c < kChannelCount; ++c) switches[c] = ChannelBoxes[c].Switch.isChecked();
    return switches;
}

// Channel 1 first; the first box that cannot be converted ends the parsing there.
std::optional<std::array<ChannelRequest, kChannelCount>> TForm1::ParseChannelRequests() {
    for (int c = 0; c < kChannelCount; ++c)
        if (!ApplyAddressBox(c)) return std::nullopt;
    const auto switches = ChannelSwitches();
    std::array<ChannelRequest, kChannelCount> requests{};
    for (int c = 0; c < kChannelCount; ++c) requests[c] = {channels_[c].Address, switches[c]};
    return requests;
}

// The views kept of the previous data are void, and so is a sweep of it: the display runs
// again and the trigger is armed afresh, a Single one too.
void TForm1::SessionReset() {
    RunViewCommand([](ViewCommands& view) { view.RestartDisplay(); });
    trigger_->Restart();
}

void TForm1::SessionStateChanged(bool running) {
    setWindowTitle(running ? RunningCaption() : QStringLiteral("Ondrix"));
    Run.setEnabled(!running);
    Stop.setEnabled(running);
    StatusBar1.ShowLinkStatistics(session_->Statistics());
}

// Still running: STOP ends the wait, and the session rejoins the device by itself.
void TForm1::SessionDeviceLost(int portNumber, const std::string& reason) {
    StatusBar1.ShowDeviceLost(portNumber, reason, session_->AwaitedDevice());
}

void TForm1::SessionDeviceRejoined() {
    trigger_->Gap();
    StatusBar1.ShowLinkStatistics(session_->Statistics());
}

void TForm1::SessionReopened() {
    trigger_->Gap();
    StatusBar1.ShowLinkStatistics(session_->Statistics());
}

void TForm1::SessionLinkChanged() {
    if (!StatusBar1.DeviceLostShown()) StatusBar1.ShowLinkStatistics(session_->Statistics());
}

void TForm1::SessionSamplesAppended(double firstX, const std::vector<SampleValues>& frames) {
    viewCommands_->SamplesAppended();
    trigger_->SamplesAppended(firstX, frames);
}

}  // namespace ondrix
