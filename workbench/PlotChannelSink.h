#pragma once
// Lets the acquisition session feed a plot channel. The session calls it on the plot's own
// thread only (its batches are handed over there), so the channel needs no lock.

#include "acquisition/ChannelSink.h"
#include "plot/PlotChannelCustom.h"

namespace ondrix {

class PlotChannelSink : public ChannelSink {
public:
    explicit PlotChannelSink(TPlotChannelCustom& channel) : channel_(channel) {}

    void Clear() override;
    void AddXY(double x, double y) override;
    bool Visible() const override;
    void SetVisible(bool visible) override;

private:
    TPlotChannelCustom& channel_;
};

}  // namespace ondrix
