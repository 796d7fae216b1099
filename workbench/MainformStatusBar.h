#pragma once
// StatusBar1: panel 0 (500 pixels) shows the hint of the control under the mouse, panel 1 the
// port settings summary, and the last panel how the link fares: the acquisition's statistics,
// or, while the device is away, that the session waits for it, on a warning colour. A click
// anywhere on the bar is reported through OnClick.

#include <QColor>
#include <QLabel>
#include <QMouseEvent>
#include <QStatusBar>

#include <functional>
#include <string>

#include "acquisition/AcquisitionSession.h"
#include "workbench/MainformGeometry.h"

namespace ondrix {

class TMainStatusBar : public QStatusBar {
public:
    static constexpr int kHeight = mainform::kStatusBarHeight;
    static constexpr int kHintPanelWidth = 500;
    // The link panel's background while the device is lost.
    static constexpr QRgb kLostColour = mainform::kDeviceLostColour;

    explicit TMainStatusBar(QWidget* parent);

    std::function<void()> OnClick;

    QLabel HintPanel;      // panel 0
    QLabel SettingsPanel;  // panel 1
    QLabel LinkPanel;

    void ShowLinkStatistics(const LinkStatistics& statistics);
    void ShowDeviceLost(int portNumber);
    bool DeviceLostShown() const { return deviceLost_; }

protected:
    // The press is taken, so that its release comes here wherever on the bar it began.
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetLost(bool lost);

    bool deviceLost_ = false;
};

// "frames=N skipped=B resyncs=R chance=C losses=L", as the headless recorder counts them: the
// panel's tool tip.
std::string LinkStatisticsText(const LinkStatistics& statistics);
// The same with the counts of trouble left out while they are 0, which fits the room the panel
// has beside the 500-pixel hint panel: "frames=4719" on a clean line.
std::string LinkStatisticsBrief(const LinkStatistics& statistics);

}  // namespace ondrix
