#pragma once
// The trigger on the scope's display. The trigger's source channel is fed to its sweeps as the
// samples arrive; each complete sweep holds the X axis still with the trigger point at the
// chosen place, a Single sweep then pauses the display, and Auto lets the display scroll again
// when the signal goes a screen width without a trigger. The trigger point and the level are
// drawn on the plot as thin marks.
//
// The user's own view comes first: while the display is paused (Pause, a zoom, the cursors),
// sweeps go on being found but leave the axes be, and the next Resume starts a fresh one. The
// acquisition never stops for the trigger: the channels keep filling, so Un Zoom and Zoom All
// still reach every sample.
//
// Threads: GUI thread only, where the session hands its samples over.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "acquisition/TriggerSweep.h"
#include "acquisition/WireProtocol.h"
#include "plot/component/Plot.h"
#include "workbench/ViewCommands.h"

namespace ondrix {

class TPlotLimit;

class TriggerDisplay {
public:
    // `plot` must carry the scope's configuration; `view` runs the scope's view commands on it.
    TriggerDisplay(TPlot& plot, ViewCommands& view);

    // "Triggered at X_t" after a Single sweep.
    std::function<void(const std::string&)> OnStatus;

    // The user's settings, or a new screen width: a sweep in progress is dropped.
    void Apply(const SweepSettings& settings, uint32_t screenWidth);
    const SweepSettings& Settings() const { return sweep_.Settings(); }

    // ---- From the session ----
    // Frame i at X `firstX` + i.
    void SamplesAppended(double firstX, const std::vector<SampleValues>& frames);
    // A lost device came back: the data breaks here.
    void Gap() { sweep_.Gap(); }
    // RUN cleared the channels, or a recording replaced them: sweeps start afresh, the marks
    // of the old data go, and the display follows the data until the next sweep.
    void Restart();

    // The user resumed the display: a fresh sweep is armed, also after a Single one.
    void Resumed();

    // The trigger point of the last complete sweep; none before the first.
    std::optional<double> TriggerPoint() const { return triggerPoint_; }

private:
    void Take(const SweepStep& step);
    void ShowMarks();

    TPlot& plot_;
    ViewCommands& view_;
    TriggerSweep sweep_;
    std::optional<double> triggerPoint_;
    // Owned by the plot, which outlives this.
    TPlotLimit& pointMark_;
    TPlotLimit& levelMark_;
};

// "Triggered at 1234.5": the trigger point to a tenth of a sample.
std::string TriggeredAtText(double triggerX);

}  // namespace ondrix
