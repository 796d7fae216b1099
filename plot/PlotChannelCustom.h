#pragma once
// The common base of the plot's channels. So far only what the object model needs: the title,
// the colour, and the binding to one X and one Y axis by name. Data, statistics, tracking,
// drawing, logging and files come with the channel work.
//
// The axes are found by name on the owning plot and cached; the cache is dropped when the axis
// leaves the plot or the name changes, and a renamed axis hands its new name to the channels
// bound to it.

#include <memory>
#include <string>

#include "plot/PlotObjectReference.h"
#include "plot/PlotObjects.h"

namespace ondrix {

class TPlotXAxis;
class TPlotYAxis;

class TPlotChannelCustom : public TPlotManagerObject {
public:
    TPlotChannelCustom(TPlotComponent* owner, TPlotObjectEvents events);

    const std::string& GetTitleText() const { return titleText_; }
    void SetTitleText(const std::string& value);
    TColor GetColor() const { return color_; }
    void SetColor(TColor value);

    const std::string& GetXAxisName() const { return xAxis_.Name(); }
    void SetXAxisName(const std::string& value);
    const std::string& GetYAxisName() const { return yAxis_.Name(); }
    void SetYAxisName(const std::string& value);
    // The bound axis, or null when no axis of that kind bears the name.
    TPlotXAxis* GetXAxis();
    TPlotYAxis* GetYAxis();

    void NotificationRemove(TPlotObject& obj) override;
    void NotificationRename(TPlotObject& obj) override;

    // Extent of the data for zoom-to-fit, markers included: X over all data, Y within the
    // current X range. kNoMinimum / kNoMaximum when there is nothing to fit.
    virtual double GetVisibleMinX() = 0;
    virtual double GetVisibleMaxX() = 0;
    virtual double GetVisibleMinY() = 0;
    virtual double GetVisibleMaxY() = 0;

    // Running statistics, kept up to date by every add (kNoMinimum / kNoMaximum when empty).
    double GetRunningXMin() const { return runningXMin_; }
    double GetRunningXMax() const { return runningXMax_; }
    double GetRunningYMin() const { return runningYMin_; }
    double GetRunningYMax() const { return runningYMax_; }

private:
    std::string titleText_;
    TColor color_ = clRed;
    double runningXMin_ = kNoMinimum;
    double runningXMax_ = kNoMaximum;
    double runningYMin_ = kNoMinimum;
    double runningYMax_ = kNoMaximum;
    TPlotObjectReference<TPlotXAxis> xAxis_;
    TPlotObjectReference<TPlotYAxis> yAxis_;
};

// A channel class: how the channel manager makes the channels of its plot.
using TPlotChannelClass = std::unique_ptr<TPlotChannelCustom> (*)(TPlotComponent* owner, TPlotObjectEvents events);

template <class Channel>
std::unique_ptr<TPlotChannelCustom> CreateChannel(TPlotComponent* owner, TPlotObjectEvents events) {
    return std::make_unique<Channel>(owner, std::move(events));
}

}  // namespace ondrix
