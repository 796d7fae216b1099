#pragma once
// The scope's "Trigger" bar: the trigger's settings as one row of small controls, in a tool bar
// row of its own under the main tool bar. It shows settings and tells that the user changed one;
// what a change does (keeping it, arming the sweep) is the window's business.
//
// The detail controls stay enabled while the trigger is off, so that a user can set a trigger up
// before switching it on. GUI thread only.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QToolBar>

#include <functional>

#include "acquisition/TriggerSweep.h"

namespace ondrix {

class TTriggerToolBar : public QToolBar {
public:
    explicit TTriggerToolBar(QWidget* parent = nullptr);

    // What the controls show.
    SweepSettings Settings() const;
    // Sets the controls, each value brought into its control's range, without firing OnChange.
    void Show(const SweepSettings& settings);

    // Fired once for each change the user makes: an item chosen, the switch toggled, a number
    // committed (Enter, leaving the box, an arrow step), never at each key typed into a number.
    std::function<void()> OnChange;

    QCheckBox TriggerSwitch;
    QLabel SourceLabel;
    QComboBox SourceBox;
    QLabel EdgeLabel;
    QComboBox EdgeBox;
    QLabel LevelLabel;
    QSpinBox LevelBox;
    QLabel HysteresisLabel;
    QSpinBox HysteresisBox;
    QLabel ModeLabel;
    QComboBox ModeBox;
    QLabel PositionLabel;
    QSpinBox PositionBox;
    QLabel HoldOffLabel;
    QSpinBox HoldOffBox;

protected:
    // Flat, in fills only, for the reason the main tool bar gives: the desktop style's rule is a
    // gradient line that Qt rasterises on threads the race checker cannot follow.
    void paintEvent(QPaintEvent* event) override;

private:
    void AddLabelled(QLabel& label, QWidget& control);
    void Changed();

    bool showing_ = false;
};

}  // namespace ondrix
