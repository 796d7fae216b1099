#include "workbench/ViewCommands.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannelCustom.h"
#include "plot/core/PlotText.h"
#include "plot/core/PlotScopeExit.h"
#include "plot/views/PlotToolBar.h"

namespace ondrix {

namespace {

constexpr double kZoomInFactor = 0.5;
constexpr double kZoomOutFactor = 2.0;

}  // namespace

bool ViewButtonStates::operator==(const ViewButtonStates& other) const {
    return ResumeEnabled == other.ResumeEnabled && PauseEnabled == other.PauseEnabled &&
           UnZoomEnabled == other.UnZoomEnabled && ReZoomEnabled == other.ReZoomEnabled &&
           MoveDown == other.MoveDown && ZoomAxisDown == other.ZoomAxisDown && SelectDown == other.SelectDown &&
           ZoomSelDown == other.ZoomSelDown && CursorDown == other.CursorDown;
}

ViewCommands::ViewCommands(TPlot& plot, std::function<uint32_t()> screenWidth)
    : plot_(plot), screenWidth_(std::move(screenWidth)), notified_(States()) {}

ViewButtonStates ViewCommands::States() const {
    const TPlotToolBar& toolBar = ToolBar();
    ViewButtonStates states;
    states.ResumeEnabled = paused_;
    states.PauseEnabled = !paused_;
    states.UnZoomEnabled = history_.UnZoomEnabled();
    states.ReZoomEnabled = history_.ReZoomEnabled();
    states.MoveDown = toolBar.GetButton(iptbbtScrollAxesMode).GetDown();
    states.ZoomAxisDown = toolBar.GetButton(iptbbtZoomAxesMode).GetDown();
    states.SelectDown = toolBar.GetSelectActive();
    states.ZoomSelDown = toolBar.GetZoomBoxActive();
    states.CursorDown = toolBar.GetCursorActive();
    return states;
}

// ---- Running an operation ----------------------------------------------------------------

// Commands raise span changes, which arrive here again as AxisSpanChanged while the command is
// still running; the count tells them apart, and the window hears of the states once, at the
// end, instead of after every step.
template <class Steps>
void ViewCommands::Run(Steps steps) {
    {
        ++running_;
        TScopeExit leave([this] { --running_; });
        steps();
    }
    if (running_ == 0) NotifyStatesChange();
}

void ViewCommands::NotifyStatesChange() {
    const ViewButtonStates states = States();
    if (states == notified_) return;
    notified_ = states;
    if (OnStatesChange) OnStatesChange(states);
}

// ---- Commands ----------------------------------------------------------------------------

void ViewCommands::PauseSteps() {
    ToolBar().DoButtonClickPause();
    paused_ = true;
}

void ViewCommands::Pause() {
    Run([this] { PauseSteps(); });
}

// The toolbar's Resume ends the cursor and select modes itself, which raises their buttons.
// Resume and Pause are never enabled together, so a click on Resume always swaps them to this.
void ViewCommands::Resume() {
    Run([this] { ResumeSteps(); });
}

void ViewCommands::ResumeSteps() {
    ToolBar().DoButtonClickResume();
    paused_ = false;
}

void ViewCommands::Move() {
    Run([this] { ToolBar().DoButtonClickScrollAxesMode(); });
}

void ViewCommands::ZoomAxis() {
    Run([this] { ToolBar().DoButtonClickZoomAxesMode(); });
}

void ViewCommands::ZoomIn() {
    Run([this] {
        PushView();
        PauseSteps();
        ToolBar().DoButtonClickZoomIn();
    });
}

void ViewCommands::ZoomOut() {
    Run([this] {
        PushView();
        PauseSteps();
        ToolBar().DoButtonClickZoomOut();
    });
}

void ViewCommands::ZoomInX() {
    Run([this] {
        PushView();
        PauseSteps();
        XAxis().Zoom(kZoomInFactor);
    });
}

void ViewCommands::ZoomOutX() {
    Run([this] {
        PushView();
        PauseSteps();
        XAxis().Zoom(kZoomOutFactor);
    });
}

void ViewCommands::ZoomInY() {
    Run([this] {
        PushView();
        PauseSteps();
        ZoomYAxes(kZoomInFactor);
    });
}

void ViewCommands::ZoomOutY() {
    Run([this] {
        PushView();
        PauseSteps();
        ZoomYAxes(kZoomOutFactor);
    });
}

// The centre is taken to a whole sample, toward zero, before half the screen width (itself
// halved to a whole sample) is laid off below it.
void ViewCommands::ZoomFit() {
    Run([this] {
        PushView();
        PauseSteps();
        MarkersOff();
        TPlotXAxis& xAxis = XAxis();
        const double centre = std::trunc(xAxis.GetMin() + xAxis.GetSpan() * 0.5);
        const uint32_t width = screenWidth_();
        xAxis.SetMin(centre - static_cast<double>(width / 2));
        xAxis.SetSpan(width);
        FullYRange();
    });
}

void ViewCommands::ZoomAll() {
    Run([this] {
        PushView();
        PauseSteps();
        MarkersOff();
        XAxis().ZoomToFit();
        FullYRange();
    });
}

void ViewCommands::UnZoom() {
    if (!history_.UnZoomEnabled()) return;
    Run([this] {
        MarkersOff();
        PauseSteps();
        if (const auto view = history_.UnZoom(CurrentView())) ShowView(*view);
        ShowMarkersBySpan();
    });
}

void ViewCommands::ReZoom() {
    if (!history_.ReZoomEnabled()) return;
    Run([this] {
        MarkersOff();
        PauseSteps();
        if (const auto view = history_.ReZoom()) ShowView(*view);
        ShowMarkersBySpan();
    });
}

// The toolbar raises Zoom Box itself when Select goes down, and the other way round.
void ViewCommands::Select() {
    Run([this] {
        ToolBar().DoButtonClickSelect();
        PauseSteps();
    });
}

void ViewCommands::ZoomSel() {
    Run([this] {
        PauseSteps();
        ToolBar().DoButtonClickZoomBox();
    });
}

// Showing the cursors has paused every axis; raising them leaves the display paused.
void ViewCommands::Cursor() {
    Run([this] {
        ToolBar().DoButtonClickCursor();
        if (ToolBar().GetCursorActive()) paused_ = true;
    });
}

void ViewCommands::EmptyHistory() {
    Run([this] { history_.Empty(); });
}

void ViewCommands::RestartDisplay() {
    Run([this] {
        history_.Empty();
        widenedByTracking_.clear();
        if (paused_) ResumeSteps();
    });
}

// A single sample still gets a span of one, so that it stands on the screen rather than on no
// span at all.
void ViewCommands::ShowRecording(double count) {
    Run([this, count] {
        history_.Empty();
        widenedByTracking_.clear();
        PauseSteps();
        MarkersOff();
        if (count > 0) XAxis().SetMinSpan(0, std::max(count - 1, 1.0));
        FullYRange();
        ShowMarkersBySpan();
    });
}

// ---- Trigger sweeps ----------------------------------------------------------------------

void ViewCommands::HoldSweep(double xMin, double span) {
    Run([&] {
        XAxis().SetTrackingEnabled(false);
        XAxis().SetMin(xMin);
        XAxis().SetSpan(span);
    });
}

void ViewCommands::FollowData() {
    if (paused_) return;
    Run([this] { XAxis().SetTrackingEnabled(true); });
}

// ---- Plot events -------------------------------------------------------------------------

void ViewCommands::BeforeZoomBox() {
    Run([this] { PushView(); });
}

void ViewCommands::AxisSpanChanged() {
    if (running_ > 0) return;
    Pause();
}

// The user's own changes (drags, the wheel, keys) switch tracking off before they change a
// span, and the commands here run inside Run: a span that changes while the axis still tracks
// is the data's doing. The widening waits for the batch to end, as the axis is still in the
// middle of its own change here.
void ViewCommands::YAxisSpanChanged(int index) {
    if (running_ > 0) return;
    if (YAxis(index).GetTrackingEnabled() &&
        std::find(widenedByTracking_.begin(), widenedByTracking_.end(), index) == widenedByTracking_.end())
        widenedByTracking_.push_back(index);
    Pause();
}

void ViewCommands::SamplesAppended() {
    if (widenedByTracking_.empty()) return;
    Run([this] {
        for (int index : widenedByTracking_) WidenToDataInView(YAxis(index));
    });
    widenedByTracking_.clear();
}

bool ViewCommands::PlotDoubleClick() {
    if (ToolBar().GetCursorActive()) return false;
    ZoomFit();
    return true;
}

// ---- Markers -----------------------------------------------------------------------------

void ViewCommands::MarkersOff() { SetMarkersVisible(false); }

void ViewCommands::ShowMarkersBySpan() { SetMarkersVisible(XAxis().GetSpan() < kMarkersSpanLimit); }

void ViewCommands::SetMarkersVisible(bool visible) {
    const TPlotComponent& plot = plot_;  // every channel, whatever its class
    for (int i = 0; i < plot.ChannelCount(); ++i) plot.GetChannel(i)->SetMarkersVisible(visible);
}

// ---- Views -------------------------------------------------------------------------------

void ViewCommands::PushView() { history_.Push(CurrentView()); }

ZoomView ViewCommands::CurrentView() const {
    ZoomView view;
    view.X = {XAxis().GetMin(), XAxis().GetSpan()};
    for (int k = 0; k < ZoomView::kYAxisCount; ++k) view.Y[k] = {YAxis(k).GetMin(), YAxis(k).GetSpan()};
    return view;
}

void ViewCommands::ShowView(const ZoomView& view) {
    XAxis().SetMin(view.X.Min);
    XAxis().SetSpan(view.X.Span);
    for (int k = 0; k < ZoomView::kYAxisCount; ++k) {
        YAxis(k).SetMin(view.Y[k].Min);
        YAxis(k).SetSpan(view.Y[k].Span);
    }
}

// Y axis 0 always: it carries every channel that has no axis of its own, shown or not.
void ViewCommands::ZoomYAxes(double factor) {
    YAxis(0).Zoom(factor);
    for (int k = 1; k < ZoomView::kYAxisCount; ++k)
        if (YAxis(k).GetVisible()) YAxis(k).Zoom(factor);
}

void ViewCommands::FullYRange() {
    for (int k = 0; k < ZoomView::kYAxisCount; ++k) {
        YAxis(k).SetMin(kFullYMin);
        YAxis(k).SetSpan(kFullYSpan);
    }
}

// Only ever wider: the range the user or the tracking chose stays inside.
void ViewCommands::WidenToDataInView(TPlotYAxis& axis) {
    double low = axis.GetMin();
    double high = axis.GetMax();
    const TPlotComponent& plot = plot_;  // every channel, whatever its class
    for (int i = 0; i < plot.ChannelCount(); ++i) {
        TPlotChannelCustom& channel = *plot.GetChannel(i);
        if (!channel.GetVisible() || !SameText(channel.GetYAxisName(), axis.GetName())) continue;
        low = std::min(low, channel.GetVisibleMinY());
        high = std::max(high, channel.GetVisibleMaxY());
    }
    axis.SetMinSpan(low, high - low);
}

TPlotToolBar& ViewCommands::ToolBar() const { return *plot_.GetToolBar(0); }
TPlotXAxis& ViewCommands::XAxis() const { return *plot_.GetXAxis(0); }
TPlotYAxis& ViewCommands::YAxis(int index) const { return *plot_.GetYAxis(index); }

}  // namespace ondrix
