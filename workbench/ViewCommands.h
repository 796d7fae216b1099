#pragma once
// The scope's view commands, run from the main window's tool bar and "&View" menu while the
// plot's own toolbar stays hidden: pause and resume of the display, the plot's interaction
// modes, fixed-factor zooms, the two reset views and the Un Zoom / Re Zoom history. Also the
// reactions to the plot's events that belong to them, and the markers' span rule.
//
// The unit keeps the state of the window's view buttons (ViewButtonStates); the window mirrors
// it into its tool buttons and menu items from OnStatesChange and never keeps a copy of its own.
// Resume and Pause are kept by the commands alone (the plot's tracking is the plot's business);
// the latching buttons read the plot's toolbar 0, whose Down flags are the interaction modes, so
// a button can never show a mode the plot is not in.
//
// Pausing freezes the display only; the acquisition keeps appending samples.
//
// The plot must carry the scope's configuration: X axis 0, Y axes 0..3, toolbar 0.
// Threads: GUI thread only.

#include <cstdint>
#include <functional>
#include <vector>

#include "plot/component/Plot.h"
#include "workbench/ZoomHistory.h"

namespace ondrix {

class TPlotToolBar;
class TPlotXAxis;
class TPlotYAxis;

// Enabled and down states of the window's view buttons and menu items, as at start-up.
struct ViewButtonStates {
    bool ResumeEnabled = false;
    bool PauseEnabled = true;
    // "Un Zoom" and "Re Zoom " menu items follow their buttons.
    bool UnZoomEnabled = false;
    bool ReZoomEnabled = false;
    // Exactly one of Move and Zoom Axis is down.
    bool MoveDown = true;
    bool ZoomAxisDown = false;
    // At most one of Select and Zoom Sel is down.
    bool SelectDown = false;
    bool ZoomSelDown = false;
    bool CursorDown = false;

    bool operator==(const ViewButtonStates& other) const;
    bool operator!=(const ViewButtonStates& other) const { return !(*this == other); }
};

class ViewCommands {
public:
    // Markers show while the X axis spans fewer samples than this.
    static constexpr double kMarkersSpanLimit = 500;
    // The Y range of the reset views: wider than any 16-bit value, so tracking never widens it.
    static constexpr double kFullYMin = -40000;
    static constexpr double kFullYSpan = 80000;

    // `screenWidth` answers the session's ScreenWidth when Zoom Fit runs.
    ViewCommands(TPlot& plot, std::function<uint32_t()> screenWidth);

    // Called once after any operation here that changed the states, never in the middle of one.
    std::function<void(const ViewButtonStates&)> OnStatesChange;
    ViewButtonStates States() const;
    const ZoomHistory& History() const { return history_; }

    // ---- Commands (tool button and menu item) ----
    // Freezes the display; Resume enabled, Pause disabled.
    void Pause();
    // The axes track the newest data again; the Cursor and Select modes end.
    void Resume();
    // How drags act on the axes: move them, or stretch them.
    void Move();
    void ZoomAxis();
    // Each saves the view for Un Zoom and pauses first. All axes, the X axis, or Y axis 0 and
    // the visible Y axes 1..3, by a factor of 2 about each axis's centre.
    void ZoomIn();
    void ZoomOut();
    void ZoomInX();
    void ZoomOutX();
    void ZoomInY();
    void ZoomOutY();
    // ScreenWidth samples about the X centre; every Y axis -40000..40000.
    void ZoomFit();
    // X fitted to the visible channels' data; every Y axis -40000..40000.
    void ZoomAll();
    // Step back or forward through the history; nothing while the button is disabled.
    void UnZoom();
    void ReZoom();
    // Select and Zoom Sel toggle and release each other; both pause. Cursor toggles the data
    // cursors, which pause the display when they show.
    void Select();
    void ZoomSel();
    void Cursor();

    // At start-up.
    void EmptyHistory();
    // RUN: the views kept of the previous data are void, and the display runs again, so that
    // the new samples show as they arrive rather than behind a view the user froze earlier.
    void RestartDisplay();
    // A recorded file's `count` samples, at X 0..count-1, were loaded: they fill the X axis
    // and every Y axis shows -40000..40000, on a paused display. The history of the data they
    // replaced is void.
    void ShowRecording(double count);

    // ---- Trigger sweeps ----
    // Whether the user has frozen the display (Pause, a zoom, the cursors): sweeps leave it be.
    bool Paused() const { return paused_; }
    // Holds the X axis on a sweep: `span` samples from `xMin`, no longer following the data. The
    // display counts as live, not paused, and the Un Zoom history is the user's alone.
    void HoldSweep(double xMin, double span);
    // The X axis follows the data again, unless the display is paused.
    void FollowData();

    // ---- Plot events, forwarded by the window ----
    // A zoom box was dragged and is about to be applied: its view is saved for Un Zoom.
    void BeforeZoomBox();
    // OnXAxisSpanChange and OnYAxisSpanChange, whatever changed the span: pauses. Spans that the
    // commands here change are theirs: the command has paused already, and Resume must not be
    // undone by its own side effects.
    void AxisSpanChanged();
    // OnYAxisSpanChange: pauses as AxisSpanChanged does. A span the axis's own tracking widened
    // is marked, for SamplesAppended to widen further.
    void YAxisSpanChanged(int index);
    // The session appended a batch of samples. A Y axis that its tracking widened takes in every
    // sample in view: tracking stops at the first value beyond a narrowed range, which is
    // seldom the peak, and the swings on screen beyond the range would stay cut off.
    void SamplesAppended();
    // A single click on the plot pauses.
    void PlotClick() { Pause(); }
    // A double click is Zoom Fit unless the cursor mode is on; false then, and the window
    // measures its time interval instead.
    bool PlotDoubleClick();

    // ---- Markers ----
    // Hidden on every channel.
    void MarkersOff();
    // Visible on every channel exactly while the X span is below kMarkersSpanLimit (the
    // window's Timer1 runs this too).
    void ShowMarkersBySpan();

private:
    // Runs the steps of one operation; only the outermost one notifies.
    template <class Steps>
    void Run(Steps steps);
    void NotifyStatesChange();

    // The Pause and Resume commands' steps, which other commands share.
    void PauseSteps();
    void ResumeSteps();
    void SetMarkersVisible(bool visible);
    void PushView();
    ZoomView CurrentView() const;
    void ShowView(const ZoomView& view);
    void ZoomYAxes(double factor);
    void FullYRange();
    void WidenToDataInView(TPlotYAxis& axis);

    TPlotToolBar& ToolBar() const;
    TPlotXAxis& XAxis() const;
    TPlotYAxis& YAxis(int index) const;

    TPlot& plot_;
    std::function<uint32_t()> screenWidth_;
    ZoomHistory history_;
    // Resume enabled and Pause disabled; the two buttons are never enabled together.
    bool paused_ = false;
    // Y axes whose tracking widened them since the last batch, by index.
    std::vector<int> widenedByTracking_;
    int running_ = 0;
    ViewButtonStates notified_;
};

}  // namespace ondrix
