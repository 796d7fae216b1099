#pragma once
// The "Others" group of the bottom panel: the time interval the data cursor measured, in
// samples, and the screen width, the number of samples across the X axis. What Edit5's text
// means is the window's business, told through OnScreenWidthExit.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "workbench/FocusExit.h"

namespace ondrix {

// Edit5's text as a screen width: a decimal integer from 1 to the points a channel keeps.
// Nothing for anything else: a width of 0 leaves no X axis, and a wider one than the channels
// hold could never be filled, while the next RUN would spend minutes prefilling it.
std::optional<uint32_t> ParseScreenWidth(const std::string& text);

class TOthersGroupBox : public QGroupBox {
public:
    explicit TOthersGroupBox(QWidget* parent);

    // Edit5 lost the focus to another control of the window.
    std::function<void()> OnScreenWidthExit;

    QLabel TimeIntervalLabel;
    QLineEdit TimeIntervalEdit;
    QLabel ScreenWidthLabel;
    QLineEdit Edit5;

private:
    TFocusExit screenWidthExit_;
};

}  // namespace ondrix
