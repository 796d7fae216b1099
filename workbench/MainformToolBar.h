#pragma once
// The main window's tool bar: the file and view commands as 39 x 38 picture buttons, left to
// right as the rest of the program names them (ToolButton_Open .. ToolButton_Cursor).
//
// Each button is a QAction whose text is the button's caption (never shown on the bar) and
// whose tool tip and status tip are its hint. The latching buttons are checkable, but what they
// show is set from the view commands' states (ApplyViewStates): a click only asks.

#include <QAction>
#include <QToolBar>
#include <QToolButton>

#include <vector>

#include "workbench/ViewCommands.h"

namespace ondrix {

class TMainToolBar : public QToolBar {
public:
    static constexpr int kButtonWidth = 39;
    static constexpr int kButtonHeight = 38;

    explicit TMainToolBar(QWidget* parent);

    QAction ToolButton_Open;
    QAction ToolButton_Save;
    QAction ToolButton_Resume;
    QAction ToolButton_Pause;
    QAction ToolButton_Move;
    QAction ToolButton_ZoomAxis;
    QAction ToolButton_ZoomIn;
    QAction ToolButton_ZoomOut;
    QAction ToolButton_ZoomInX;
    QAction ToolButton_ZoomOutX;
    QAction ToolButton_ZoomInY;
    QAction ToolButton_ZoomOutY;
    QAction ToolButton_ZoomFit;
    QAction ToolButton_ZoomAll;
    QAction ToolButton_UnZoom;
    QAction ToolButton_ReZoom;
    QAction ToolButton_Sel;
    QAction ToolButton_ZoomSel;
    QAction ToolButton_Cursor;

    // The button that shows the action on the bar.
    QToolButton& ButtonOf(QAction& action) const;
    // Enabled and down states of the view buttons.
    void ApplyViewStates(const ViewButtonStates& states);

protected:
    // A flat bar with a rule at its foot, in fills only. The desktop style's own bar draws its
    // rule as a line with a gradient pen, which Qt rasterises on its paint thread pool, whose
    // hand-overs the race checker of the threaded tests cannot see.
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace ondrix
