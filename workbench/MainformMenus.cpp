#include "workbench/MainformMenus.h"

#include <QString>

namespace ondrix {

namespace {

void Caption(QAction& item, const char* caption) { item.setText(QString::fromLatin1(caption)); }

}  // namespace

TMainMenu::TMainMenu(QMenuBar& bar)
    : File(QStringLiteral("&File")),
      Setup(QStringLiteral("&Setup")),
      View(QStringLiteral("&View")),
      DataFormat(QStringLiteral("&Data Format")),
      Tools(QStringLiteral("Tools")),
      Help(QStringLiteral("&Help")),
      dataFormatGroup_(nullptr) {
    Caption(Open, "&Open");
    Caption(Save, "&Save");
    Caption(SaveForMatlab, "Save for Matlab Analysis");
    SaveForMatlab.setStatusTip(
        QStringLiteral("Format: n+Ch1D1+...Ch1Dn+Ch2D1+...Ch2Dn+Ch3D1+...Ch3Dn+Ch4D1+...Ch4Dn,"));
    Caption(Exit, "&Exit");
    File.addAction(&Open);
    File.addAction(&Save);
    File.addAction(&SaveForMatlab);
    File.addSeparator();
    File.addAction(&Exit);

    Caption(CommunicationSetup, "Communication Setup");
    Setup.addAction(&CommunicationSetup);
    Caption(FirmwareVariables, "Firmware Variables...");
    Setup.addAction(&FirmwareVariables);

    Caption(UnZoom, "Un Zoom");
    Caption(ReZoom, "Re Zoom ");
    Caption(ZoomIn, "Zoom In");
    Caption(ZoomOut, "Zoom Out");
    Caption(XAxisZoomIn, "X Axis Zoom In");
    Caption(XAxisZoomOut, "X Axis Zoom Out");
    Caption(YAxisZoomIn, "Y Axis Zoom In");
    Caption(YAxisZoomOut, "Y Axis Zoom Out");
    Caption(ZoomFit, "Zoom Fit");
    Caption(ZoomAll, "Zoom All");
    Caption(Hex, "Hex");
    Caption(Dec, "Dec");
    View.addAction(&UnZoom);
    View.addAction(&ReZoom);
    View.addSeparator();
    View.addAction(&ZoomIn);
    View.addAction(&ZoomOut);
    View.addSeparator();
    View.addAction(&XAxisZoomIn);
    View.addAction(&XAxisZoomOut);
    View.addSeparator();
    View.addAction(&YAxisZoomIn);
    View.addAction(&YAxisZoomOut);
    View.addSeparator();
    View.addAction(&ZoomFit);
    View.addAction(&ZoomAll);
    View.addSeparator();
    View.addMenu(&DataFormat);
    for (QAction* radio : {&Hex, &Dec}) {
        radio->setCheckable(true);
        dataFormatGroup_.addAction(radio);
        DataFormat.addAction(radio);
    }
    Dec.setChecked(true);

    Caption(SComAssistant, "SCom &Assistant");
    Caption(Calc, "&Calc");
    Caption(Notepad, "&Notepad");
    Tools.addAction(&SComAssistant);
    Tools.addAction(&Calc);
    Tools.addAction(&Notepad);

    Caption(About, "&About...");
    Caption(CommunicationProtocol, "Communication Protocol");
    Help.addAction(&About);
    Help.addAction(&CommunicationProtocol);

    for (QMenu* menu : {&File, &Setup, &View, &Tools, &Help}) bar.addMenu(menu);
    ApplyViewStates(ViewButtonStates{});
}

void TMainMenu::ApplyViewStates(const ViewButtonStates& states) {
    UnZoom.setEnabled(states.UnZoomEnabled);
    ReZoom.setEnabled(states.ReZoomEnabled);
}

TSeparateAxisMenu::TSeparateAxisMenu(QWidget* parent) : QMenu(parent) {
    for (int i = 0; i < static_cast<int>(ShowYAxisFor.size()); ++i) {
        QAction& item = ShowYAxisFor[static_cast<size_t>(i)];
        item.setText(QStringLiteral("Show Y Axis For Ch%1").arg(i + 2));
        item.setCheckable(true);
        addAction(&item);
    }
}

}  // namespace ondrix
