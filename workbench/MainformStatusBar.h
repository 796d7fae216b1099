#pragma once
// StatusBar1: panel 0 (500 pixels) shows the hint of the control under the mouse, panel 1 the
// port settings summary, and the last panel how the link fares: the acquisition's statistics,
// or what is wrong with it on a warning colour (the device lost and waited for, no frames, a
// request the MPU may not have taken). A click anywhere on the bar is reported through OnClick.
//
// The link panel has what room the other two panels leave, little at the window's smallest width
// with a long settings summary; it shows the fullest of its texts that fits, never a cut one.
// What a screen reader reads of a panel is its text, with the details as its description (the
// tool tip).

#include <QColor>
#include <QLabel>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QStatusBar>
#include <QStringList>

#include <functional>
#include <string>

#include "acquisition/LinkStatistics.h"
#include "workbench/MainformGeometry.h"

namespace ondrix {

// A label that shows the first of its texts that fits its width, or the last when none does: the
// texts go from the fullest to the shortest, each complete in itself.
class TFittingLabel : public QLabel {
public:
    void SetTexts(QStringList texts);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Fit();

    QStringList texts_;
};

class TMainStatusBar : public QStatusBar {
public:
    static constexpr int kHeight = mainform::kStatusBarHeight;
    static constexpr int kHintPanelWidth = 500;
    // The link panel's background while something is wrong with the link.
    static constexpr QRgb kLostColour = mainform::kDeviceLostColour;

    explicit TMainStatusBar(QWidget* parent);

    std::function<void()> OnClick;

    QLabel HintPanel;      // panel 0
    QLabel SettingsPanel;  // panel 1
    TFittingLabel LinkPanel;

    // The figures, or "no data from COMn" while the open link brings no frame.
    void ShowLinkStatistics(const LinkStatistics& statistics);
    // "COMn lost — waiting for the device", or "COMn lost — waiting" where that does not fit;
    // the tool tip tells why and for which device.
    void ShowDeviceLost(int portNumber, const std::string& reason = {}, const std::string& awaitedDevice = {});
    bool DeviceLostShown() const { return deviceLost_; }

protected:
    // The press is taken, so that its release comes here wherever on the bar it began.
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ShowLink(const QStringList& texts, const QString& details, bool trouble);

    bool deviceLost_ = false;
    bool troubleShown_ = false;
};


}  // namespace ondrix
