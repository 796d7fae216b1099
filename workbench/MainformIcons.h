#pragma once
// The main window's pictures, drawn here rather than loaded: 32 x 32 tool button images, each
// with a grey variant for the disabled button, and the window icon.

#include <QIcon>

namespace ondrix {

enum class TToolPicture {
    Open,
    Save,
    Resume,
    Pause,
    Move,
    ZoomAxis,
    ZoomIn,
    ZoomOut,
    ZoomInX,
    ZoomOutX,
    ZoomInY,
    ZoomOutY,
    ZoomFit,
    ZoomAll,
    UnZoom,
    ReZoom,
    Select,
    ZoomSel,
    Cursor,
};

constexpr int kToolPictureSize = 32;

// The picture in colour for the Normal mode and in greys for the Disabled mode.
QIcon ToolButtonIcon(TToolPicture picture);

// Four coloured traces on a dark screen.
QIcon WindowIcon();

}  // namespace ondrix
