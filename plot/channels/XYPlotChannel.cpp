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

double TXYPlotChannel::GetVisibleMaxX() {
    double result = kNoMaximum;
    if (ExtentAvailable())
        ForEachUsablePoint(0, GetCount() - 1, [&](int i, double, double) { result = std::max(result, GetDataXDrawMax(i)); });
    return result;
}

double TXYPlotChannel::GetVisibleMinX() {
    double result = kNoMinimum;
    if (ExtentAvailable())
        ForEachUsablePoint(0, GetCount() - 1, [&](int i, double, double) { result = std::min(result, GetDataXDrawMin(i)); });
    return result;
}

double TXYPlotChannel::GetVisibleMaxY() {
    double result = kNoMaximum;
    if (ExtentAvailable())
        ForEachUsablePoint(0, GetCount() - 1, [&](int i, double, double) { result = std::max(result, GetDataYDrawMax(i)); });
    return result;
}

double TXYPlotChannel::GetVisibleMinY() {
    double result = kNoMinimum;
    if (ExtentAvailable())
        ForEachUsablePoint(0, GetCount() - 1, [&](int i, double, double) { result = std::min(result, GetDataYDrawMin(i)); });
    return result;
}

}  // namespace ondrix
