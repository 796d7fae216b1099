#include "workbench/ChannelGroupBox.h"

#include <QEvent>
#include <QFocusEvent>
#include <QString>

#include "plot/qt/QtCanvas.h"

namespace ondrix {

namespace {

// Three rows of label and box inside the group's 81 pixels.
constexpr int kRowTops[] = {16, 37, 58};
constexpr int kRowHeight = 21;
constexpr int kLabelLeft = 8;
constexpr int kLabelWidth = 82;
constexpr int kBoxLeft = 92;
constexpr int kBoxWidth = 72;

constexpr int kTitleLength = 10;
constexpr int kAddressLength = 8;

}  // namespace

QValidator::State TChannelGroupBox::TUpperCase::validate(QString& input, int&) const {
    input = input.toUpper();
    return Acceptable;
}

TChannelGroupBox::TChannelGroupBox(int channel, TColor color, QWidget* parent)
    : QGroupBox(QStringLiteral("CH%1").arg(channel), parent),
      TitleLabel(QStringLiteral("TITLE"), this),
      Title(QStringLiteral("CH%1").arg(channel), this),
      Switch(QStringLiteral("Addr (HEX)"), this),
      Address(QStringLiteral("00000000"), this),
      DataLabel(QStringLiteral("DATA"), this),
      Data(QStringLiteral("0"), this) {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, ToQColor(color));
    colours.setColor(QPalette::Text, ToQColor(color));
    setPalette(colours);

    TitleLabel.setGeometry(kLabelLeft, kRowTops[0], kLabelWidth, kRowHeight);
    Title.setGeometry(kBoxLeft, kRowTops[0], kBoxWidth, kRowHeight);
    Switch.setGeometry(kLabelLeft, kRowTops[1], kLabelWidth, kRowHeight);
    Address.setGeometry(kBoxLeft, kRowTops[1], kBoxWidth, kRowHeight);
    DataLabel.setGeometry(kLabelLeft, kRowTops[2], kLabelWidth, kRowHeight);
    Data.setGeometry(kBoxLeft, kRowTops[2], kBoxWidth, kRowHeight);

    Title.setMaxLength(kTitleLength);
    Address.setMaxLength(kAddressLength);
    Address.setValidator(&upperCase_);
    Address.installEventFilter(this);
    QFont bold = Data.font();
    bold.setBold(true);
    Data.setFont(bold);

    Title.setStatusTip(QStringLiteral("Channel %1 Title").arg(channel));
    Switch.setStatusTip(QStringLiteral("switch channel %1 on or  off").arg(channel));
    Address.setStatusTip(QStringLiteral("Ch%1 address(HEX)").arg(channel));
    Data.setStatusTip(QStringLiteral("Ch%1 data").arg(channel));
}

// Leaving the window (another application, a menu, a message box) is not leaving the box.
bool TChannelGroupBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &Address && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && OnAddressExit) OnAddressExit();
    }
    return QGroupBox::eventFilter(watched, event);
}

}  // namespace ondrix
