#include "plot/component/Plot.h"

#include "plot/views/PlotLabel.h"
#include "plot/views/PlotLegend.h"
#include "plot/views/PlotToolBar.h"

namespace ondrix {

namespace {

// The starting objects of both plots. Added with the layout manager off, so that the ZOrder
// values given here stay as they are; it is switched on again even when an addition fails.
void AddStartingObjects(TPlotComponent& plot) {
    plot.DisableLayoutManager();
    try {
        plot.GetToolBar(plot.AddToolBar())->SetZOrder(3);
        plot.GetLegend(plot.AddLegend())->SetZOrder(2);
        plot.AddXAxis();
        plot.AddYAxis();
        plot.AddChannel();
        plot.AddDataView();
        plot.AddDataCursor();
        TPlotLabel* title = plot.GetLabel(plot.AddLabel());
        title->SetZOrder(2);
        title->SetName("Title");
        title->SetCaption("Untitled");
        title->SetMarginBottom(0);
    } catch (...) {
        plot.EnableLayoutManager();
        throw;
    }
    plot.EnableLayoutManager();
}

}  // namespace

TPlot::TPlot() {
    BeginUpdate();
    SetChannelClass(&CreateChannel<TPlotChannel>);
    AddStartingObjects(*this);
    EndUpdate();
}

TPlotChannel* TPlot::GetChannel(int index) const {
    return dynamic_cast<TPlotChannel*>(TPlotComponent::GetChannel(index));
}

TXYPlot::TXYPlot() {
    SetChannelClass(&CreateChannel<TXYPlotChannel>);
    AddStartingObjects(*this);
}

TXYPlotChannel* TXYPlot::GetChannel(int index) const {
    return dynamic_cast<TXYPlotChannel*>(TPlotComponent::GetChannel(index));
}

}  // namespace ondrix
