#pragma once
// One channel's group on the main window's bottom panel: its title, its on/off switch, its
// address box and its value readout, captioned and lettered in a legible shade of the channel's
// colour.
//
// What the address box's text means is the window's business, told through OnAddressExit.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <functional>

#include "plot/core/PlotTypes.h"
#include "workbench/AddressEdit.h"
#include "workbench/FocusExit.h"

namespace ondrix {

class TChannelGroupBox : public QGroupBox {
public:
    static constexpr int kTitleLength = 10;

    // `channel` counts from 1.
    TChannelGroupBox(int channel, TColor color, QWidget* parent);

    // The address box lost the focus to another control of the window.
    std::function<void()> OnAddressExit;

    QLabel TitleLabel;
    QLineEdit Title;       // Ch1Title .. Ch4Title
    QCheckBox Switch;      // CheckBox1 .. CheckBox4
    TAddressEdit Address;  // Edit1 .. Edit4
    QLabel DataLabel;
    QLineEdit Data;        // Ch1DataEdit .. Ch4DataEdit

private:
    TFocusExit addressExit_;
};

}  // namespace ondrix
