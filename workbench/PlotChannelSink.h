#pragma once
// Lets the acquisition session feed a plot channel. The session calls it on the plot's own
// thread only (its batches are handed over there), so the channel needs no lock.

#include "acquisition/ChannelSink.h"
#include "plot/channels/PlotChannel.h"

namespace ondrix {

class PlotChannelSink : public ChannelSink {
public:
    explicit PlotChannelSink(TPlotChannel& channel) : channel_(channel) {}

    void Clear() override;
    void AddXY(double x, double y) override;
    void AddNull(double x) override;
    bool Visible() const override;
    void SetVisible(bool visible) override;

private:
    TPlotChannel& channel_;
};

}  // namespace ondrix
