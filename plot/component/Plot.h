#pragma once
// The two ready-made plots. TPlot starts with one toolbar, legend, X axis, Y axis, channel
// (TPlotChannel), data view, data cursor and a title label; TXYPlot the same with TXYPlotChannel
// channels. Each answers its channels in their own class.

#include "plot/channels/PlotChannel.h"
#include "plot/channels/XYPlotChannel.h"
#include "plot/component/PlotComponent.h"

namespace ondrix {

class TPlot : public TPlotComponent {
public:
    TPlot();

    // Null if the channel at the index is of another class.
    TPlotChannel* GetChannel(int index) const;
    bool IsStripChart() const override { return true; }
};

class TXYPlot : public TPlotComponent {
public:
    TXYPlot();

    // Null if the channel at the index is of another class.
    TXYPlotChannel* GetChannel(int index) const;
};

}  // namespace ondrix
