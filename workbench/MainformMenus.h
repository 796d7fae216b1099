#pragma once
// The main window's menus: the main menu (File, Setup, View, Tools, Help) and the plot's
// pop-up menu PopupMenu1, which gives channels 2..4 Y axes of their own.
//
// Captions carry their access keys ('&') and are the program's own texts, trailing blank of
// "Re Zoom " included. The menus only hold the items; the window connects what they do.

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include <array>

#include "workbench/ViewCommands.h"

namespace ondrix {

class TMainMenu {
public:
    // Fills `bar`, which must outlive the menu.
    explicit TMainMenu(QMenuBar& bar);

    QMenu File;
    QAction Open;
    QAction Save;
    QAction SaveForMatlab;
    QAction Exit;

    QMenu Setup;
    QAction CommunicationSetup;
    QAction FirmwareVariables;

    QMenu View;
    QAction UnZoom;
    QAction ReZoom;
    QAction ZoomIn;
    QAction ZoomOut;
    QAction XAxisZoomIn;
    QAction XAxisZoomOut;
    QAction YAxisZoomIn;
    QAction YAxisZoomOut;
    QAction ZoomFit;
    QAction ZoomAll;
    QMenu DataFormat;
    QAction Hex;
    QAction Dec;

    QMenu Tools;
    QAction SComAssistant;
    QAction Calc;
    QAction Notepad;

    QMenu Help;
    QAction About;
    QAction CommunicationProtocol;

    // "Un Zoom" and "Re Zoom " follow their tool buttons.
    void ApplyViewStates(const ViewButtonStates& states);

private:
    QActionGroup dataFormatGroup_;
};

// PopupMenu1: "Show Y Axis For Ch2" .. "Show Y Axis For Ch4", each checked while its channel
// scales on its own Y axis.
class TSeparateAxisMenu : public QMenu {
public:
    explicit TSeparateAxisMenu(QWidget* parent);

    // ShowYAxisFor[0] is channel 2's.
    std::array<QAction, 3> ShowYAxisFor;
};

}  // namespace ondrix
