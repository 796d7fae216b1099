#include "workbench/MainformStatusBar.h"

#include <QPalette>
#include <QString>

namespace ondrix {

std::string LinkStatisticsText(const LinkStatistics& statistics) {
    const FrameStatistics& frames = statistics.assembler;
    return "frames=" + std::to_string(frames.frames) + " skipped=" + std::to_string(frames.skippedBytes) +
           " resyncs=" + std::to_string(frames.resyncs) + " chance=" + std::to_string(frames.chanceMatches) +
           " losses=" + std::to_string(statistics.losses);
}

std::string LinkStatisticsBrief(const LinkStatistics& statistics) {
    const FrameStatistics& frames = statistics.assembler;
    std::string text = "frames=" + std::to_string(frames.frames);
    const std::pair<const char*, uint64_t> troubles[] = {{" skipped=", frames.skippedBytes},
                                                         {" resyncs=", frames.resyncs},
                                                         {" chance=", frames.chanceMatches},
                                                         {" losses=", statistics.losses}};
    for (const auto& [name, count] : troubles)
        if (count != 0) text += name + std::to_string(count);
    return text;
}

TMainStatusBar::TMainStatusBar(QWidget* parent) : QStatusBar(parent) {
    setFixedHeight(kHeight);
    setSizeGripEnabled(false);
    HintPanel.setFixedWidth(kHintPanelWidth);
    HintPanel.setAccessibleName(QStringLiteral("Hint"));
    SettingsPanel.setAccessibleName(QStringLiteral("Port settings"));
    LinkPanel.setAccessibleName(QStringLiteral("Link"));
    LinkPanel.setAutoFillBackground(true);
    // The panel takes what room panels 0 and 1 leave; it never widens the window.
    LinkPanel.setMinimumWidth(0);
    LinkPanel.setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    addWidget(&HintPanel);
    addWidget(&SettingsPanel);
    addWidget(&LinkPanel, 1);
    ShowLinkStatistics(LinkStatistics{});
}

void TMainStatusBar::ShowLinkStatistics(const LinkStatistics& statistics) {
    SetLost(false);
    LinkPanel.setText(QString::fromStdString(LinkStatisticsBrief(statistics)));
    LinkPanel.setToolTip(QString::fromStdString(LinkStatisticsText(statistics)));
}

void TMainStatusBar::ShowDeviceLost(int portNumber) {
    SetLost(true);
    LinkPanel.setText(QStringLiteral("COM%1 lost — waiting for the device").arg(portNumber));
    LinkPanel.setToolTip(LinkPanel.text());
}

void TMainStatusBar::SetLost(bool lost) {
    if (lost == deviceLost_) return;
    deviceLost_ = lost;
    QPalette colours = LinkPanel.palette();
    colours.setColor(QPalette::Window, lost ? QColor::fromRgb(kLostColour) : palette().color(QPalette::Window));
    LinkPanel.setPalette(colours);
}

void TMainStatusBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick) OnClick();
}

}  // namespace ondrix
