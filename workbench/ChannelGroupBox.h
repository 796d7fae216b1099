#pragma once
// One channel's group on the main window's bottom panel: its title, its on/off switch, its
// address box and its value readout, captioned and lettered in the channel's colour.
//
// The address box forces typed letters to upper case and holds at most 8 characters; what its
// text means is the window's business, told through OnAddressExit.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>

#include <functional>

#include "plot/core/PlotTypes.h"
#include "workbench/FocusExit.h"

namespace ondrix {

class TChannelGroupBox : public QGroupBox {
public:
    static constexpr int kTitleLength = 10;
    static constexpr int kAddressLength = 8;

    // `channel` counts from 1.
    TChannelGroupBox(int channel, TColor color, QWidget* parent);

    // The address box lost the focus to another control of the window.
    std::function<void()> OnAddressExit;

    QLabel TitleLabel;
    QLineEdit Title;     // Ch1Title .. Ch4Title
    QCheckBox Switch;    // CheckBox1 .. CheckBox4
    QLineEdit Address;   // Edit1 .. Edit4
    QLabel DataLabel;
    QLineEdit Data;      // Ch1DataEdit .. Ch4DataEdit

private:
    class TUpperCase : public QValidator {
    public:
        State validate(QString& input, int& position) const override;
    };
    TUpperCase upperCase_;
    TFocusExit addressExit_;
};

}  // namespace ondrix
