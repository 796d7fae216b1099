#include "workbench/PlotChannelSink.h"

namespace ondrix {

void PlotChannelSink::Clear() { channel_.Clear(); }

void PlotChannelSink::AddXY(double x, double y) { channel_.AddXY(x, y); }

void PlotChannelSink::AddNull(double x) { channel_.AddXNull(x); }

bool PlotChannelSink::Visible() const { return channel_.GetVisible(); }

void PlotChannelSink::SetVisible(bool visible) { channel_.SetVisible(visible); }

}  // namespace ondrix
