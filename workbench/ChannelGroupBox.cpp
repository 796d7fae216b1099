#include "workbench/ChannelGroupBox.h"

#include <QString>

#include "plot/qt/QtCanvas.h"
#include "workbench/ControlHint.h"
#include "workbench/GroupFace.h"
#include "workbench/LegibleColour.h"
#include "workbench/MainformGeometry.h"

namespace ondrix {

using namespace mainform;

namespace {

// A margin above the guidelines' contrast: the style shades a group's face a little inside its
// frame, and the thin strokes of small letters never quite reach their full colour.
constexpr double kTextContrast = kLegibleContrast + 0.5;

}  // namespace

TChannelGroupBox::TChannelGroupBox(int channel, TColor color, QWidget* parent)
    : QGroupBox(QStringLiteral("CH%1").arg(channel), parent),
      TitleLabel(QStringLiteral("TITLE"), this),
      Title(QStringLiteral("CH%1").arg(channel), this),
      Switch(QStringLiteral("Addr (HEX)"), this),
      Address(QStringLiteral("00000000"), this),
      DataLabel(QStringLiteral("DATA"), this),
      Data(QStringLiteral("0"), this),
      addressExit_(Address) {
    // A shade of the trace colour on the group's light face: on the panel's mid grey no shade of
    // red or fuchsia is legible, and the trace colours themselves, made for the black plot, all
    // but vanish on white.
    PutOnGroupFace(*this, LegibleShade(ToQColor(color), {kGroupFace, kGroupBoxBase}, kTextContrast));

    TitleLabel.setGeometry(kChannelLabelLeft, kChannelRowTops[kTitleRow], kChannelLabelWidth, kChannelRowHeight);
    Title.setGeometry(kChannelBoxFieldLeft, kChannelRowTops[kTitleRow], kChannelBoxFieldWidth, kChannelRowHeight);
    Switch.setGeometry(kChannelLabelLeft, kChannelRowTops[kAddressRow], kChannelLabelWidth, kChannelRowHeight);
    Address.setGeometry(kChannelBoxFieldLeft, kChannelRowTops[kAddressRow], kChannelBoxFieldWidth, kChannelRowHeight);
    DataLabel.setGeometry(kChannelLabelLeft, kChannelRowTops[kDataRow], kChannelLabelWidth, kChannelRowHeight);
    Data.setGeometry(kChannelBoxFieldLeft, kChannelRowTops[kDataRow], kChannelBoxFieldWidth, kChannelRowHeight);

    Title.setMaxLength(kTitleLength);
    addressExit_.OnExit = [this] {
        if (OnAddressExit) OnAddressExit();
    };
    QFont bold = Data.font();
    bold.setBold(true);
    Data.setFont(bold);

    SetHint(Title, QStringLiteral("Channel %1 Title").arg(channel));
    SetHint(Switch, QStringLiteral("switch channel %1 on or  off").arg(channel));
    SetHint(Address, QStringLiteral("Ch%1 address(HEX)").arg(channel));
    SetHint(Data, QStringLiteral("Ch%1 data").arg(channel));

    const QString name = QStringLiteral("CH%1").arg(channel);
    setAccessibleName(name + QStringLiteral(" channel"));
    Title.setAccessibleName(name + QStringLiteral(" title"));
    Switch.setAccessibleName(name + QStringLiteral(" switch"));
    Address.setAccessibleName(name + QStringLiteral(" address"));
    Data.setAccessibleName(name + QStringLiteral(" data"));
}

}  // namespace ondrix
