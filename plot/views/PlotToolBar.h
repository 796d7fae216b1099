#pragma once
// The plot's command and mode bar. So far its place in the object model, the plot's select mode
// as a plain flag and the stored settings of its buttons; the buttons, the modes and their
// drawing come with the toolbar work, the select mode then becomes the Select button's latched
// state and the Show...Button settings the visibility of their buttons.

#include "plot/objects/PlotObjects.h"

namespace ondrix {

class TPlotToolBar : public TPlotLayoutObject {
public:
    TPlotToolBar(TPlotComponent* owner, TPlotObjectEvents events);

    bool GetSelectModeActive() const { return selectModeActive_; }
    void SetSelectModeActive(bool value);

    // The span factor of Zoom Out on linear axes (Zoom In uses its inverse). At least 1, so a
    // zoom never turns a span round; smaller values store 1.
    double GetZoomInOutFactor() const { return zoomInOutFactor_; }
    void SetZoomInOutFactor(double value);
    // The Select and Preview buttons are the two hidden at creation.
    bool GetShowSelectButton() const { return showSelectButton_; }
    void SetShowSelectButton(bool value);
    bool GetShowPreviewButton() const { return showPreviewButton_; }
    void SetShowPreviewButton(bool value);

private:
    bool selectModeActive_ = false;
    double zoomInOutFactor_ = 2;
    bool showSelectButton_ = false;
    bool showPreviewButton_ = false;
};

}  // namespace ondrix
