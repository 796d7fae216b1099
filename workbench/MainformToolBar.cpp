#include "workbench/MainformToolBar.h"

#include <QPainter>
#include <QPalette>
#include <QSize>
#include <QString>

#include "workbench/ActionButtonAccessible.h"
#include "workbench/MainformIcons.h"

namespace ondrix {

namespace {

enum class TButtonStyle { Button, Check };

struct TToolButtonSpec {
    QAction TMainToolBar::*action;
    const char* caption;
    const char* hint;
    TToolPicture picture;
    TButtonStyle style;
    // What a screen reader calls it; the hints alone would not tell Un Zoom from Re Zoom.
    const char* accessibleName;
    bool startsEnabled;
    // A separator stands before the button.
    bool opensGroup;
};

// Left to right. The captions and hints are the program's own texts, blanks and all.
// Button, caption, hint, picture, style, accessible name, enabled at start, separator before.
const TToolButtonSpec kButtons[] = {
    {&TMainToolBar::ToolButton_Open, "Open", "Open File", TToolPicture::Open,
     TButtonStyle::Button, "Open file", true, false},
    {&TMainToolBar::ToolButton_Save, "Save", "Save Data To File", TToolPicture::Save,
     TButtonStyle::Button, "Save data", true, false},
    {&TMainToolBar::ToolButton_Resume, "Resume", "Resume", TToolPicture::Resume,
     TButtonStyle::Button, "Resume", false, true},
    {&TMainToolBar::ToolButton_Pause, "Pause  ", "Pause", TToolPicture::Pause,
     TButtonStyle::Button, "Pause", true, false},
    {&TMainToolBar::ToolButton_Move, "Move", "Move", TToolPicture::Move,
     TButtonStyle::Check, "Move mode", true, true},
    {&TMainToolBar::ToolButton_ZoomAxis, "Zoom Axis", "Stretch", TToolPicture::ZoomAxis,
     TButtonStyle::Check, "Zoom axis mode", true, false},
    {&TMainToolBar::ToolButton_ZoomIn, "Zoon In", "Zoom In", TToolPicture::ZoomIn,
     TButtonStyle::Button, "Zoom in", true, true},
    {&TMainToolBar::ToolButton_ZoomOut, "Zoom Out", "Zoom Out", TToolPicture::ZoomOut,
     TButtonStyle::Button, "Zoom out", true, false},
    {&TMainToolBar::ToolButton_ZoomInX, "Zoom In X", "X-Axis Zoom In ", TToolPicture::ZoomInX,
     TButtonStyle::Button, "X axis zoom in", true, false},
    {&TMainToolBar::ToolButton_ZoomOutX, "Zoom Out X", "X-Axis Zoom Out", TToolPicture::ZoomOutX,
     TButtonStyle::Button, "X axis zoom out", true, false},
    {&TMainToolBar::ToolButton_ZoomInY, "Zoom In Y", "Y-Axis Zoom In ", TToolPicture::ZoomInY,
     TButtonStyle::Button, "Y axis zoom in", true, false},
    {&TMainToolBar::ToolButton_ZoomOutY, "Zoom Out Y", "Y-Axis Zoom Out", TToolPicture::ZoomOutY,
     TButtonStyle::Button, "Y axis zoom out", true, false},
    {&TMainToolBar::ToolButton_ZoomFit, "Zoom Fit", "Zoom Fit ", TToolPicture::ZoomFit,
     TButtonStyle::Button, "Zoom fit", true, false},
    {&TMainToolBar::ToolButton_ZoomAll, "Zoom All", "Zoom All", TToolPicture::ZoomAll,
     TButtonStyle::Button, "Zoom all", true, false},
    {&TMainToolBar::ToolButton_UnZoom, "Un Zoom", "ReZoom", TToolPicture::UnZoom,
     TButtonStyle::Button, "Un zoom", false, true},
    {&TMainToolBar::ToolButton_ReZoom, "Re Zoom", "UnZoom", TToolPicture::ReZoom,
     TButtonStyle::Button, "Re zoom", false, false},
    {&TMainToolBar::ToolButton_Sel, "Select", "Select", TToolPicture::Select,
     TButtonStyle::Check, "Select mode", true, true},
    {&TMainToolBar::ToolButton_ZoomSel, "Zoom Sel", "Zoom Box", TToolPicture::ZoomSel,
     TButtonStyle::Check, "Zoom box mode", true, false},
    {&TMainToolBar::ToolButton_Cursor, "Cursor", "Cursor", TToolPicture::Cursor,
     TButtonStyle::Check, "Cursor mode", true, true},
};

}  // namespace

TMainToolBar::TMainToolBar(QWidget* parent)
    : QToolBar(QStringLiteral("Tool bar"), parent),
      ToolButton_Open(this),
      ToolButton_Save(this),
      ToolButton_Resume(this),
      ToolButton_Pause(this),
      ToolButton_Move(this),
      ToolButton_ZoomAxis(this),
      ToolButton_ZoomIn(this),
      ToolButton_ZoomOut(this),
      ToolButton_ZoomInX(this),
      ToolButton_ZoomOutX(this),
      ToolButton_ZoomInY(this),
      ToolButton_ZoomOutY(this),
      ToolButton_ZoomFit(this),
      ToolButton_ZoomAll(this),
      ToolButton_UnZoom(this),
      ToolButton_ReZoom(this),
      ToolButton_Sel(this),
      ToolButton_ZoomSel(this),
      ToolButton_Cursor(this) {
    InstallActionButtonAccessibility();
    setMovable(false);
    setFloatable(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setIconSize(QSize(kToolPictureSize, kToolPictureSize));
    setToolButtonStyle(Qt::ToolButtonIconOnly);

    for (const TToolButtonSpec& spec : kButtons) {
        QAction& action = this->*spec.action;
        const QString hint = QString::fromLatin1(spec.hint);
        action.setText(QString::fromLatin1(spec.caption));
        action.setToolTip(hint);
        action.setStatusTip(hint);
        action.setIcon(ToolButtonIcon(spec.picture));
        action.setCheckable(spec.style == TButtonStyle::Check);
        action.setEnabled(spec.startsEnabled);
        if (spec.opensGroup) addSeparator();
        addAction(&action);
        QToolButton& button = ButtonOf(action);
        button.setFixedSize(kButtonWidth, kButtonHeight);
        button.setAccessibleName(QString::fromLatin1(spec.accessibleName));
    }
    ApplyViewStates(ViewButtonStates{});
}

QToolButton& TMainToolBar::ButtonOf(QAction& action) const {
    return *static_cast<QToolButton*>(widgetForAction(&action));
}

void TMainToolBar::ApplyViewStates(const ViewButtonStates& states) {
    ToolButton_Resume.setEnabled(states.ResumeEnabled);
    ToolButton_Pause.setEnabled(states.PauseEnabled);
    ToolButton_UnZoom.setEnabled(states.UnZoomEnabled);
    ToolButton_ReZoom.setEnabled(states.ReZoomEnabled);
    ToolButton_Move.setChecked(states.MoveDown);
    ToolButton_ZoomAxis.setChecked(states.ZoomAxisDown);
    ToolButton_Sel.setChecked(states.SelectDown);
    ToolButton_ZoomSel.setChecked(states.ZoomSelDown);
    ToolButton_Cursor.setChecked(states.CursorDown);
}

void TMainToolBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.fillRect(QRect(0, height() - 1, width(), 1), palette().color(QPalette::Mid));
}

}  // namespace ondrix
