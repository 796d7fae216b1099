#include "workbench/Mainform.h"

#include <QFont>
#include <QPalette>
#include <QScreen>
#include <QString>

#include "acquisition/ChannelAddress.h"
#include "plot/channels/PlotChannel.h"
#include "plot/qt/QtCanvas.h"
#include "workbench/MainformGeometry.h"
#include "workbench/ScopePlotConfiguration.h"

namespace ondrix {

namespace {

// The trace colours of the plot's channels.
constexpr TColor kChannelColors[kChannelCount] = {clRed, clYellow, clBlue, clFuchsia};

constexpr int kFontPixels = 11;  // 8 points at 96 pixels per inch

QString RunningCaption() { return QStringLiteral("Ondrix  ---  Running..."); }

QString AddressText(uint32_t address) {
    return QStringLiteral("%1").arg(address, 8, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

TForm1::TForm1(SerialLink& link, Notifier& notifier)
    : plotWindow_(Plot1, &central_),
      panel_(&central_),
      ChannelBoxes{{{1, kChannelColors[0], &panel_},
                    {2, kChannelColors[1], &panel_},
                    {3, kChannelColors[2], &panel_},
                    {4, kChannelColors[3], &panel_}}},
      Run(QStringLiteral("RUN"), &panel_),
      Stop(QStringLiteral("STOP"), &panel_),
      notifier_(notifier),
      layout_(&central_),
      addresses_(kDemoAddresses) {
    // Before anything else happens to the plot: its configuration, with the channels' rings.
    ConfigureScopePlot(Plot1);
    sinks_.reserve(kChannelCount);
    for (int c = 0; c < kChannelCount; ++c) sinks_.emplace_back(*Plot1.GetChannel(c));
    const std::array<ChannelSink*, kChannelCount> sinks{&sinks_[0], &sinks_[1], &sinks_[2], &sinks_[3]};
    session_ = std::make_unique<AcquisitionSession>(link, guiThread_, static_cast<SessionHost&>(*this), sinks);

    setWindowTitle(QStringLiteral("Serial Ondrix"));
    QFont font(ResolveFontFamily("MS Sans Serif"));
    font.setPixelSize(kFontPixels);
    setFont(font);

    BuildPanel();
    layout_.setContentsMargins(0, 0, 0, 0);
    layout_.setSpacing(0);
    layout_.addWidget(&plotWindow_, 1);
    layout_.addWidget(&panel_);
    setCentralWidget(&central_);

    setMinimumSize(mainform::kWindowWidth, mainform::kWindowHeight);
    resize(mainform::kWindowWidth, mainform::kWindowHeight);
    if (const QScreen* desktop = screen()) move(desktop->availableGeometry().center() - rect().center());

    StartUp();
}

TForm1::~TForm1() = default;

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
        connect(&box.Switch, &QCheckBox::toggled, this, [this, c](bool on) { Plot1.GetChannel(c)->SetVisible(on); });
        box.OnAddressExit = [this, c] { ApplyAddressBox(c); };
    }

    Run.setGeometry(kRunButton.Left, kRunButton.Top, kRunButton.Width, kRunButton.Height);
    Stop.setGeometry(kStopButton.Left, kStopButton.Top, kStopButton.Width, kStopButton.Height);
    Stop.setEnabled(false);
    for (QPushButton* button : {&Run, &Stop}) button->setCursor(Qt::PointingHandCursor);
    connect(&Run, &QPushButton::clicked, this, [this] { RunClick(); });
    connect(&Stop, &QPushButton::clicked, this, [this] { StopClick(); });
}

// One screen of zeros on hidden channels, then the boxes from the channel records, then the
// switches on, which shows the channels.
void TForm1::StartUp() {
    session_->PrefillChannels();
    for (int c = 0; c < kChannelCount; ++c) ChannelBoxes[c].Address.setText(AddressText(addresses_[c]));
    for (TChannelGroupBox& box : ChannelBoxes) box.Switch.setChecked(true);
}

void TForm1::RunClick() { session_->Run(); }

void TForm1::StopClick() { session_->Stop(); }

void TForm1::closeEvent(QCloseEvent* event) {
    session_->Stop();
    QMainWindow::closeEvent(event);
}

// ---- Channel panel -----------------------------------------------------------------------

bool TForm1::ApplyAddressBox(int channel) {
    const QString text = ChannelBoxes[channel].Address.text();
    // One byte per character, so that a character outside Latin-1 is refused as one character.
    const ParsedAddress parsed = ParseAddressText(text.toLatin1().toStdString());
    switch (parsed.status) {
        case ParsedAddress::Status::Ok:
            addresses_[channel] = parsed.value;
            return true;
        case ParsedAddress::Status::InvalidCharacter:
            notifier_.ShowMessage(InvalidAddressMessage(channel + 1));
            return true;
        case ParsedAddress::Status::NotConvertible:
            break;
    }
    notifier_.ShowMessage(AddressConversionMessage(text.toStdString()));
    return false;
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
    for (int c = 0; c < kChannelCount; ++c) requests[c] = {addresses_[c], switches[c]};
    return requests;
}

// Nothing of the previous data is kept beyond the channels, which the session clears itself.
void TForm1::SessionReset() {}

void TForm1::SessionStateChanged(bool running) {
    setWindowTitle(running ? RunningCaption() : QStringLiteral("Ondrix"));
    Run.setEnabled(!running);
    Stop.setEnabled(running);
}

// Still running: STOP ends the wait, and the session rejoins the device by itself.
void TForm1::SessionDeviceLost(int portNumber, const std::string&) {
    setWindowTitle(QStringLiteral("Ondrix  ---  COM%1 lost — waiting for the device").arg(portNumber));
}

void TForm1::SessionDeviceRejoined() { setWindowTitle(RunningCaption()); }

}  // namespace ondrix
