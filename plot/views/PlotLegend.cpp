// The legend's properties, cell texts, scroll buttons and mouse handling. The layout is in
// PlotLegendLayout.cpp, the drawing in PlotLegendDraw.cpp.

#include "plot/views/PlotLegend.h"

#include <algorithm>
#include <utility>

#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannelCustom.h"
#include "plot/core/PlotText.h"

namespace ondrix {

namespace {

std::string AxisNameText(const TPlotAxis* axis) {
    if (axis == nullptr) return "None";
    return TrimBlanks(axis->GetTitle()).empty() ? axis->GetName() : axis->GetTitle();
}

// Statistics exist only once a point with a value arrived: Null and Empty points leave the
// running values at their "nothing yet" extremes, which are no reading.
bool HasStatistics(const TPlotChannelCustom& channel) {
    return channel.GetCount() > 0 && channel.GetRunningCount() > 0;
}

}  // namespace

// ---- TPlotLegendButton -------------------------------------------------------------------

TPlotLegendButton::TPlotLegendButton(TPlotLegend& legend, bool pointsUp)
    : TPlotButton(legend.GetOwner(), {}), pointsUp_(pointsUp) {
    SetAutoRepeat(true);
    SetVisible(false);
}

// ---- Construction ------------------------------------------------------------------------

TPlotLegend::TPlotLegend(TPlotComponent* owner, TPlotObjectEvents events)
    : TPlotLayoutObject(owner, std::move(events)),
      upButton_(std::make_unique<TPlotLegendButton>(*this, true)),
      downButton_(std::make_unique<TPlotLegendButton>(*this, false)) {
    upButton_->OnClick = [this](TPlotButton&) { UpButtonClick(); };
    downButton_->OnClick = [this](TPlotButton&) { DownButtonClick(); };
    for (TPlotLegendButton* button : {upButton_.get(), downButton_.get()})
        button->OnInvalidate = [this](TPlotButton&) { InvalidateButtons(); };
}

TPlotLegend::~TPlotLegend() = default;

void TPlotLegend::SetEventSink(TPlotObjectEventSink* sink) {
    TPlotLayoutObject::SetEventSink(sink);
    for (TPlotLegendButton* button : {upButton_.get(), downButton_.get()}) {
        button->SetEventSink(sink);
        button->OnUnexpectedError = OnUnexpectedError;
    }
}

// ---- Published properties ------------------------------------------------------------------

void TPlotLegend::SetMarginLeft(double value) { SetField(marginLeft_, value); }
void TPlotLegend::SetMarginTop(double value) { SetField(marginTop_, value); }
void TPlotLegend::SetMarginRight(double value) { SetField(marginRight_, value); }
void TPlotLegend::SetMarginBottom(double value) { SetField(marginBottom_, value); }
void TPlotLegend::SetBackGroundColor(TColor value) { SetField(backGroundColor_, value); }
void TPlotLegend::SetBackGroundTransparent(bool value) { SetField(backGroundTransparent_, value); }
void TPlotLegend::SetSelectedItemBackGroundColor(TColor value) { SetField(selectedItemBackGroundColor_, value); }
void TPlotLegend::SetFont(const TPlotFont& value) { SetField(font_, ClampedFont(value)); }
void TPlotLegend::SetSelectedItemFont(const TPlotFont& value) { SetField(selectedItemFont_, ClampedFont(value)); }
void TPlotLegend::SetColumnTitlesFont(const TPlotFont& value) { SetField(columnTitlesFont_, ClampedFont(value)); }
void TPlotLegend::SetShown(TColumn column, bool value) { SetField(shown_[column], value); }
void TPlotLegend::SetColumnTitlesVisible(bool value) { SetField(columnTitlesVisible_, value); }
void TPlotLegend::SetCaptionColumnTitle(const std::string& value) { SetField(captionColumnTitle_, value); }
void TPlotLegend::SetCaptionColumnXAxisTitle(const std::string& value) { SetField(captionColumnXAxisTitle_, value); }
void TPlotLegend::SetCaptionColumnYAxisTitle(const std::string& value) { SetField(captionColumnYAxisTitle_, value); }
void TPlotLegend::SetCaptionColumnXValue(const std::string& value) { SetField(captionColumnXValue_, value); }
void TPlotLegend::SetCaptionColumnYValue(const std::string& value) { SetField(captionColumnYValue_, value); }
void TPlotLegend::SetCaptionColumnYMax(const std::string& value) { SetField(captionColumnYMax_, value); }
void TPlotLegend::SetCaptionColumnYMin(const std::string& value) { SetField(captionColumnYMin_, value); }
void TPlotLegend::SetCaptionColumnYMean(const std::string& value) { SetField(captionColumnYMean_, value); }
void TPlotLegend::SetColumnSpacing(double value) { SetField(columnSpacing_, value); }
void TPlotLegend::SetRowSpacing(double value) { SetField(rowSpacing_, value); }
void TPlotLegend::SetWrapColSpacingMin(double value) { SetField(wrapColSpacingMin_, value); }
void TPlotLegend::SetWrapColDesiredCount(int32_t value) { SetField(wrapColDesiredCount_, value); }
void TPlotLegend::SetWrapRowDesiredCount(int32_t value) { SetField(wrapRowDesiredCount_, value); }
void TPlotLegend::SetWrapColAutoCountEnabled(bool value) { SetField(wrapColAutoCountEnabled_, value); }
void TPlotLegend::SetWrapRowAutoCountEnabled(bool value) { SetField(wrapRowAutoCountEnabled_, value); }
void TPlotLegend::SetWrapColAutoCountMax(int32_t value) { SetField(wrapColAutoCountMax_, value); }
void TPlotLegend::SetWrapRowAutoCountMax(int32_t value) { SetField(wrapRowAutoCountMax_, value); }
void TPlotLegend::SetWrapColSpacingAuto(bool value) { SetField(wrapColSpacingAuto_, value); }
void TPlotLegend::SetWrapRowSpacingAuto(bool value) { SetField(wrapRowSpacingAuto_, value); }
void TPlotLegend::SetChannelNameMaxWidth(double value) { SetField(channelNameMaxWidth_, value); }
void TPlotLegend::SetChannelNameColorStyle(TPlotLegendChannelNameColorStyle value) {
    SetField(channelNameColorStyle_, value);
}

// ---- Cell texts ----------------------------------------------------------------------------

std::string TPlotLegend::GetNameText(const TPlotChannelCustom& channel) const {
    return TrimBlanks(channel.GetTitleText()).empty() ? channel.GetName() : channel.GetTitleText();
}

std::string TPlotLegend::GetXAxisNameText(TPlotChannelCustom& channel) const {
    return AxisNameText(channel.GetXAxis());
}

std::string TPlotLegend::GetYAxisNameText(TPlotChannelCustom& channel) const {
    return AxisNameText(channel.GetYAxis());
}

std::string TPlotLegend::GetXAxisValueText(TPlotChannelCustom& channel) const {
    if (cursorColumnsMode_) return channel.GetCursorValueXText();
    if (channel.GetCount() == 0) return "Empty";
    const TPlotXAxis* axis = channel.GetXAxis();
    if (axis == nullptr) return "N/A";
    return axis->GetLegendText(channel.GetDataX(channel.GetCount() - 1));
}

std::string TPlotLegend::GetYAxisValueText(TPlotChannelCustom& channel) const {
    if (cursorColumnsMode_) return channel.GetCursorValueYText();
    if (channel.GetCount() == 0) return "Empty";
    const TPlotYAxis* axis = channel.GetYAxis();
    if (axis == nullptr) return "N/A";
    return axis->GetLegendText(channel.GetDataY(channel.GetCount() - 1));
}

std::string TPlotLegend::GetYAxisMaxText(TPlotChannelCustom& channel) const {
    if (!HasStatistics(channel)) return "Empty";
    const TPlotYAxis* axis = channel.GetYAxis();
    return axis != nullptr ? axis->GetLegendText(channel.GetRunningYMax()) : "N/A";
}

std::string TPlotLegend::GetYAxisMinText(TPlotChannelCustom& channel) const {
    if (!HasStatistics(channel)) return "Empty";
    const TPlotYAxis* axis = channel.GetYAxis();
    return axis != nullptr ? axis->GetLegendText(channel.GetRunningYMin()) : "N/A";
}

std::string TPlotLegend::GetYAxisMeanText(TPlotChannelCustom& channel) const {
    if (!HasStatistics(channel)) return "Empty";
    const TPlotYAxis* axis = channel.GetYAxis();
    return axis != nullptr ? axis->GetLegendText(channel.GetRunningYMean()) : "N/A";
}

std::string TPlotLegend::CellText(TColumn column, TPlotChannelCustom& channel) const {
    switch (column) {
        case lcName: return GetNameText(channel);
        case lcXAxisTitle: return GetXAxisNameText(channel);
        case lcYAxisTitle: return GetYAxisNameText(channel);
        case lcXValue: return GetXAxisValueText(channel);
        case lcYValue: return GetYAxisValueText(channel);
        case lcYMax: return GetYAxisMaxText(channel);
        case lcYMin: return GetYAxisMinText(channel);
        case lcYMean: return GetYAxisMeanText(channel);
        case lcLine:
        case lcMarker: break;
    }
    return {};
}

// ---- Scrolling -----------------------------------------------------------------------------

void TPlotLegend::UpButtonClick() {
    topIndex_ = std::max(topIndex_ - 1, 0);
    InvalidateButtons();
}

void TPlotLegend::DownButtonClick() {
    topIndex_ = std::max(std::min(topIndex_ + 1, static_cast<int>(items_.size()) - 1), 0);
    InvalidateButtons();
}

// Scrolling and a button's look answer a click, so they show at once instead of waiting for
// the repaint throttle, which paces arriving data. A hidden legend shows nothing to change.
void TPlotLegend::InvalidateButtons() {
    if (!GetVisible()) return;
    if (OnInvalidateNow) {
        OnInvalidateNow();
    } else {
        TriggerChange();
    }
}

// ---- Input ---------------------------------------------------------------------------------

TPlotObject* TPlotLegend::GetMouseObject(int x, int y) {
    for (TPlotLegendButton* button : {upButton_.get(), downButton_.get()})
        if (button->GetVisible() && button->GetDrawRect().Contains(x, y)) return button;
    for (const TPlotLegendItem& item : items_)
        if (item.Channel->GetLegendRect().Contains(x, y)) return item.Channel;
    return TPlotLayoutObject::GetMouseObject(x, y);
}

void TPlotLegend::DoMouseUp(const TPlotMouseData& data) {
    if (GetPressed() && GetDrawRect().Contains(data.X, data.Y) && GetEventSink() != nullptr)
        GetEventSink()->DoObjectClick(*this);
}

void TPlotLegend::NotificationRemove(TPlotObject& obj) {
    const auto removed = std::remove_if(items_.begin(), items_.end(),
                                        [&obj](const TPlotLegendItem& item) { return item.Channel == &obj; });
    if (removed == items_.end()) return;
    items_.erase(removed, items_.end());
    lastShownIndex_ = std::min(lastShownIndex_, static_cast<int>(items_.size()) - 1);
}

}  // namespace ondrix
