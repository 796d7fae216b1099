#include "plot/views/PlotExtras.h"

#include <algorithm>
#include <utility>

#include "plot/axes/PlotAxis.h"
#include "plot/component/PlotComponent.h"
#include "plot/core/PlotCanvas.h"

namespace ondrix {

TPlotLimit::TPlotLimit(TPlotComponent* owner, TPlotObjectEvents events) : TPlotObject(owner, std::move(events)) {
    SetLayer(kDefaultLayer);
}

void TPlotLimit::SetXAxisName(const std::string& value) { SetField(xAxisName_, value); }
void TPlotLimit::SetYAxisName(const std::string& value) { SetField(yAxisName_, value); }
void TPlotLimit::SetStyle(TPlotLimitStyle value) { SetField(style_, value); }
void TPlotLimit::SetPosition(double value) { SetField(position_, value); }
void TPlotLimit::SetColor(TColor value) { SetField(color_, value); }
void TPlotLimit::SetLineStyle(TPenStyle value) { SetField(lineStyle_, value); }
void TPlotLimit::SetLineWidth(int32_t value) { SetField(lineWidth_, std::max(value, 1)); }

const TPlotAxis* TPlotLimit::MarkedAxis() const {
    const TPlotComponent* plot = GetOwner();
    if (plot == nullptr) return nullptr;
    if (style_ == iplsXLine) return plot->GetXAxisByName(xAxisName_);
    return plot->GetYAxisByName(yAxisName_);
}

void TPlotLimit::Draw(TCanvas& canvas, const TPlotRect& dataViewRect) const {
    if (!GetVisible()) return;
    const TPlotAxis* axis = MarkedAxis();
    if (axis == nullptr || !axis->PointOnScale(position_)) return;
    // A log scale maps zero and below onto 1 for its own safety; a mark there would lie.
    if (axis->GetScaleType() == ipstLog10 && !(position_ > 0)) return;

    const int pixel = axis->PositionToPixels(position_);
    // The axis's own direction, not Style, decides: with the plot's X and Y reversed, X axes
    // stand upright and an X value's line runs left to right.
    canvas.SetPen(TPlotPen{color_, lineWidth_, lineStyle_});
    if (axis->GetIsHorz())
        canvas.Line({pixel, dataViewRect.Top}, {pixel, dataViewRect.Bottom});
    else
        canvas.Line({dataViewRect.Left, pixel}, {dataViewRect.Right, pixel});
}

void TPlotLimit::NotificationRename(TPlotObject& obj) {
    if (dynamic_cast<TPlotXAxis*>(&obj) != nullptr && ReferenceFollowsRename(nullptr, xAxisName_, obj))
        xAxisName_ = obj.GetName();
    if (dynamic_cast<TPlotYAxis*>(&obj) != nullptr && ReferenceFollowsRename(nullptr, yAxisName_, obj))
        yAxisName_ = obj.GetName();
}

}  // namespace ondrix
