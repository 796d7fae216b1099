#include "workbench/TriggerDisplay.h"

#include <cmath>
#include <cstdio>

#include "plot/channels/PlotChannelCustom.h"
#include "plot/views/PlotExtras.h"

namespace ondrix {

namespace {

TPlotLimit& AddMark(TPlot& plot, const char* name, TPlotLimitStyle style, TPenStyle line) {
    TPlotLimit& mark = *plot.GetLimit(plot.AddLimit());
    mark.SetName(name);
    mark.SetStyle(style);
    mark.SetLineStyle(line);
    mark.SetLineWidth(1);
    mark.SetVisible(false);
    return mark;
}

}  // namespace

std::string TriggeredAtText(double triggerX) {
    char text[64];
    std::snprintf(text, sizeof text, "Triggered at %.1f", std::round(triggerX * 10) / 10);
    return text;
}

TriggerDisplay::TriggerDisplay(TPlot& plot, ViewCommands& view)
    : plot_(plot),
      view_(view),
      // The level is dashed in the source channel's colour, which dots alone would leave too
      // faint on the black data view for the darker traces.
      pointMark_(AddMark(plot, "Trigger Point", iplsXLine, psDot)),
      levelMark_(AddMark(plot, "Trigger Level", iplsYLine, psDash)) {
    pointMark_.SetColor(clWhite);
}

void TriggerDisplay::Apply(const SweepSettings& settings, uint32_t screenWidth) {
    const bool wasOn = sweep_.Settings().on;
    sweep_.Restart(settings, screenWidth);
    // A display the trigger held scrolls again once the trigger is off.
    if (wasOn && !settings.on) view_.FollowData();
    ShowMarks();
}

// A sweep held over the old data would hide the new: the display follows the data until the
// first sweep of the new data is complete.
void TriggerDisplay::Restart() {
    sweep_.Restart(sweep_.Settings(), sweep_.ScreenWidth());
    triggerPoint_.reset();
    view_.FollowData();
    ShowMarks();
}

void TriggerDisplay::Resumed() {
    if (sweep_.Settings().on) sweep_.Rearm();
}

void TriggerDisplay::SamplesAppended(double firstX, const std::vector<SampleValues>& frames) {
    if (!sweep_.Settings().on) return;
    const int source = sweep_.Settings().detection.channel;
    for (size_t i = 0; i < frames.size(); ++i) {
        const SweepStep step = sweep_.Feed(firstX + static_cast<double>(i), frames[i][source]);
        if (step.kind != SweepStep::Kind::None) Take(step);
    }
}

void TriggerDisplay::Take(const SweepStep& step) {
    if (step.kind == SweepStep::Kind::FreeRun) {
        view_.FollowData();
        return;
    }
    const bool single = sweep_.Settings().mode == TriggerMode::Single;
    if (single && OnStatus) OnStatus(TriggeredAtText(step.triggerX));
    if (view_.Paused()) return;
    triggerPoint_ = step.triggerX;
    view_.HoldSweep(step.xMin, sweep_.ScreenWidth());
    ShowMarks();
    if (single) view_.Pause();
}

void TriggerDisplay::ShowMarks() {
    const SweepSettings& settings = sweep_.Settings();
    const TPlotChannelCustom& source = *plot_.GetChannel(settings.detection.channel);
    levelMark_.SetYAxisName(source.GetYAxisName());
    levelMark_.SetColor(source.GetColor());
    levelMark_.SetPosition(settings.detection.level);
    levelMark_.SetVisible(settings.on);
    pointMark_.SetXAxisName(source.GetXAxisName());
    if (triggerPoint_) pointMark_.SetPosition(*triggerPoint_);
    pointMark_.SetVisible(settings.on && triggerPoint_.has_value());
}

}  // namespace ondrix
