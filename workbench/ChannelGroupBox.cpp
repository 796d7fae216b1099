#include "workbench/ChannelGroupBox.h"

#include <QString>

#include "plot/qt/QtCanvas.h"
#include "workbench/ControlHint.h"
#include "workbench/MainformGeometry.h"

namespace ondrix {

using namespace mainform;

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
      Data(QStringLiteral("0"), this),
      addressExit_(Address) {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, ToQColor(color));
    colours.setColor(QPalette::Text, ToQColor(color));
    setPalette(colours);

    TitleLabel.setGeometry(kChannelLabelLeft, kChannelRowTops[kTitleRow], kChannelLabelWidth, kChannelRowHeight);
    Title.setGeometry(kChannelBoxFieldLeft, kChannelRowTops[kTitleRow], kChannelBoxFieldWidth, kChannelRowHeight);
    Switch.setGeometry(kChannelLabelLeft, kChannelRowTops[kAddressRow], kChannelLabelWidth, kChannelRowHeight);
    Address.setGeometry(kChannelBoxFieldLeft, kChannelRowTops[kAddressRow], kChannelBoxFieldWidth, kChannelRowHeight);
    DataLabel.setGeometry(kChannelLabelLeft, kChannelRowTops[kDataRow], kChannelLabelWidth, kChannelRowHeight);
    Data.setGeometry(kChannelBoxFieldLeft, kChannelRowTops[kDataRow], kChannelBoxFieldWidth, kChannelRowHeight);

    Title.setMaxLength(kTitleLength);
    Address.setMaxLength(kAddressLength);
    Address.setValidator(&upperCase_);
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
