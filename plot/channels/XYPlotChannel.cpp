#include "plot/channels/XYPlotChannel.h"

#include <algorithm>

namespace ondrix {

int TXYPlotChannel::AddMarked(bool null, bool empty) {
    const int slot = Data().Add(0, 0);
    const int newest = GetCount() - 1;
    Data().SetNull(newest, null);
    Data().SetEmpty(newest, empty);
    TriggerChange();
    return slot;
}

int TXYPlotChannel::AddNull() { return AddMarked(true, false); }

int TXYPlotChannel::AddEmpty() { return AddMarked(false, true); }

void TXYPlotChannel::CalcStartXIndex() { SetDrawStartIndex(GetCount() > 0 ? 0 : -1); }

void TXYPlotChannel::CalcStopXIndex() { SetDrawStopIndex(GetCount() - 1); }

bool TXYPlotChannel::ExtentAvailable() { return AxesValid() && GetVisible(); }

double TXYPlotChannel::ScanExtent(double (TPlotChannelCustom::*edge)(int), bool largest) {
    double result = largest ? kNoMaximum : kNoMinimum;
    if (!ExtentAvailable()) return result;
    ForEachUsablePoint(0, GetCount() - 1, [&](int i, double, double) {
        const double value = (this->*edge)(i);
        result = largest ? std::max(result, value) : std::min(result, value);
    });
    return result;
}

double TXYPlotChannel::GetVisibleMaxX() { return ScanExtent(&TPlotChannelCustom::GetDataXDrawMax, true); }

double TXYPlotChannel::GetVisibleMinX() { return ScanExtent(&TPlotChannelCustom::GetDataXDrawMin, false); }

double TXYPlotChannel::GetVisibleMaxY() { return ScanExtent(&TPlotChannelCustom::GetDataYDrawMax, true); }

double TXYPlotChannel::GetVisibleMinY() { return ScanExtent(&TPlotChannelCustom::GetDataYDrawMin, false); }

}  // namespace ondrix
