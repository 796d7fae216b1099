#pragma once
// The channel of TXYPlot. Its X values may come in any order, so every point is considered:
// the visible range is always the whole list and the extents scan all points.

#include "plot/channels/PlotChannelCustom.h"

namespace ondrix {

class TXYPlotChannel : public TPlotChannelCustom {
public:
    using TPlotChannelCustom::TPlotChannelCustom;

    // (0, 0) marked Null or Empty: breaks or gaps the line. No tracking, no statistics.
    int AddNull();
    int AddEmpty();

    // 0 and Count - 1; -1 for an empty channel.
    void CalcStartXIndex() override;
    void CalcStopXIndex() override;

    double GetVisibleMaxX() override;
    double GetVisibleMinX() override;
    double GetVisibleMaxY() override;
    double GetVisibleMinY() override;

private:
    int AddMarked(bool null, bool empty);
    // Whether zoom-to-fit may look at the points at all.
    bool ExtentAvailable();
    // The largest or smallest `edge` of every usable point; "no maximum" or "no minimum" when
    // there is nothing to look at.
    double ScanExtent(double (TPlotChannelCustom::*edge)(int), bool largest);
};

}  // namespace ondrix
