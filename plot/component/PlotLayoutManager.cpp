#include "plot/component/PlotLayoutManager.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "plot/axes/PlotAxis.h"
#include "plot/component/PlotComponent.h"
#include "plot/views/PlotDataView.h"
#include "plot/views/PlotLabel.h"
#include "plot/views/PlotLegend.h"
#include "plot/views/PlotToolBar.h"

namespace ondrix {

namespace {

// Nearest integer, ties to even (the default rounding mode).

bool IsDataView(const TPlotObject& obj) { return dynamic_cast<const TPlotDataView*>(&obj) != nullptr; }
bool IsPlaceholder(const TPlotObject& obj) { return dynamic_cast<const TPlotDataViewLayout*>(&obj) != nullptr; }

bool IsCartesianAxis(const TPlotLayoutObject& obj) {
    const auto* axis = dynamic_cast<const TPlotAxis*>(&obj);
    return axis != nullptr && axis->GetCartesianStyle() != ipcsNone;
}

// ZOrder, then the rounded StartPercent, as fixed-width decimal text: objects of one band sort
// by where they start along it.
std::string SideKey(const TPlotLayoutObject& obj) {
    char key[32];
    std::snprintf(key, sizeof key, "%.3d%.3d", static_cast<int>(obj.GetZOrder()), RoundToInt(obj.GetStartPercent()));
    return key;
}

// Before any equal keys, so among objects with one key the latest listed comes first.
void InsertSorted(TPlotLayoutList& list, TPlotLayoutObject& obj) {
    const std::string key = SideKey(obj);
    const auto at = std::find_if(list.begin(), list.end(),
                                 [&key](const TPlotLayoutObject* other) { return SideKey(*other) >= key; });
    list.insert(at, &obj);
}

void Erase(TPlotLayoutList& list, const TPlotObject& obj) {
    list.erase(std::remove(list.begin(), list.end(), &obj), list.end());
}

bool Intersects(const TPlotRect& a, const TPlotRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

bool Inside(const TPlotRect& inner, const TPlotRect& outer) {
    return inner.Left >= outer.Left && inner.Right <= outer.Right && inner.Top >= outer.Top &&
           inner.Bottom <= outer.Bottom;
}

}  // namespace

TPlotDataViewHorz::TPlotDataViewHorz(TPlotComponent* owner, TPlotObjectEvents events)
    : TPlotDataViewLayout(owner, std::move(events)) {
    SetHorizontal(true);
}

// ---- Lists and ZOrder bookkeeping ----------------------------------------------------------

TPlotLayoutManager::TPlotLayoutManager(TPlotComponent* owner, TPlotObjectEvents events)
    : TPlotObjectManagerCustom(owner, std::move(events)),
      dataViewHorz_(std::make_unique<TPlotDataViewHorz>(owner, GetEvents())),
      dataViewVert_(std::make_unique<TPlotDataViewVert>(owner, GetEvents())) {
    for (TPlotDataViewLayout* placeholder : {static_cast<TPlotDataViewLayout*>(dataViewHorz_.get()),
                                             static_cast<TPlotDataViewLayout*>(dataViewVert_.get())}) {
        placeholder->SetName("Data View");
        placeholder->SetZOrder(1);
        // Listed here directly: the master learns of this manager only once it is built, so
        // the insert it routes for the placeholders reaches the object manager alone.
        NotificationInsert(*placeholder);
        placeholder->Loaded();
    }
    SetEnabled(true);
}

TPlotLayoutManager::~TPlotLayoutManager() = default;

void TPlotLayoutManager::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    if (value) DoLayoutChange();
}

void TPlotLayoutManager::SetXYAxesReverse(bool value) {
    if (value == xyAxesReverse_) return;
    xyAxesReverse_ = value;
    if (enabled_) FlipAxes();
}

// Each axis leaves its band, turns, and enters the outermost band of its new side. The order
// is that of the ZOrder values compared as text, so that repeated flips are reproducible.
void TPlotLayoutManager::FlipAxes() {
    std::vector<TPlotAxis*> axes;
    for (TPlotObject* obj : GetObjects()) {
        if (auto* axis = dynamic_cast<TPlotAxis*>(obj)) axes.push_back(axis);
    }
    std::stable_sort(axes.begin(), axes.end(), [](const TPlotAxis* a, const TPlotAxis* b) {
        return std::to_string(a->GetZOrder()) < std::to_string(b->GetZOrder());
    });
    for (TPlotAxis* axis : axes) {
        RemoveZOrder(*axis);
        axis->SetHorizontal(axis->IsXAxis() ? !xyAxesReverse_ : xyAxesReverse_);
        InsertZOrder(*axis);
    }
}

void TPlotLayoutManager::DoLayoutChange() {
    if (!enabled_) return;
    above_.clear();
    below_.clear();
    left_.clear();
    right_.clear();
    const int32_t viewZHorz = dataViewHorz_->GetZOrder();
    const int32_t viewZVert = dataViewVert_->GetZOrder();
    for (TPlotObject* listed : GetObjects()) {
        if (IsDataView(*listed) || IsPlaceholder(*listed)) continue;
        auto& obj = static_cast<TPlotLayoutObject&>(*listed);
        const bool farSide = obj.GetZOrder() > (obj.GetHorizontal() ? viewZHorz : viewZVert);
        obj.SetReverseSide(farSide);
        if (obj.GetHorizontal()) {
            InsertSorted(farSide ? above_ : below_, obj);
        } else {
            InsertSorted(farSide ? right_ : left_, obj);
        }
    }
}

void TPlotLayoutManager::InsertZOrder(TPlotLayoutObject& obj) {
    const auto sameSide = [&obj](const TPlotObject* other) {
        return other != &obj && !IsDataView(*other) &&
               static_cast<const TPlotLayoutObject*>(other)->GetHorizontal() == obj.GetHorizontal();
    };
    const bool bandTaken = std::any_of(GetObjects().begin(), GetObjects().end(), [&](const TPlotObject* other) {
        if (!sameSide(other)) return false;
        const auto& o = static_cast<const TPlotLayoutObject&>(*other);
        const bool overlaps = o.GetStartPercent() < obj.GetStopPercent() && o.GetStopPercent() > obj.GetStartPercent();
        const bool same = o.GetStartPercent() == obj.GetStartPercent() && o.GetStopPercent() == obj.GetStopPercent();
        return o.GetZOrder() == 0 && (overlaps || same);
    });
    if (bandTaken) {
        for (TPlotObject* other : GetObjects()) {
            if (!sameSide(other)) continue;
            auto& o = static_cast<TPlotLayoutObject&>(*other);
            if (o.GetZOrder() >= 0) o.SetZOrder(o.GetZOrder() + 1);
        }
    }
    obj.SetZOrder(0);
    DoLayoutChange();
}

void TPlotLayoutManager::RemoveZOrder(TPlotLayoutObject& obj) {
    const auto sameSide = [&obj](const TPlotObject* other) {
        return other != &obj && static_cast<const TPlotLayoutObject*>(other)->GetHorizontal() == obj.GetHorizontal();
    };
    const bool bandShared = std::any_of(GetObjects().begin(), GetObjects().end(), [&](const TPlotObject* other) {
        return sameSide(other) && !IsDataView(*other) &&
               static_cast<const TPlotLayoutObject*>(other)->GetZOrder() == obj.GetZOrder();
    });
    if (!bandShared) {
        for (TPlotObject* other : GetObjects()) {
            if (!sameSide(other)) continue;
            auto& o = static_cast<TPlotLayoutObject&>(*other);
            if (o.GetZOrder() > obj.GetZOrder()) o.SetZOrder(o.GetZOrder() - 1);
        }
    }
    DoLayoutChange();
}

bool TPlotLayoutManager::Accepts(const TPlotObject& obj) const {
    return dynamic_cast<const TPlotLayoutObject*>(&obj) != nullptr;
}

void TPlotLayoutManager::Inserted(TPlotObject& obj) {
    const bool reportsLayoutChanges = dynamic_cast<TPlotAxis*>(&obj) != nullptr ||
                                      dynamic_cast<TPlotToolBar*>(&obj) != nullptr ||
                                      dynamic_cast<TPlotLegend*>(&obj) != nullptr ||
                                      dynamic_cast<TPlotDataView*>(&obj) != nullptr ||
                                      dynamic_cast<TPlotLabel*>(&obj) != nullptr;
    if (reportsLayoutChanges) obj.OnLayoutChange = [this](TPlotObject&) { DoLayoutChange(); };
    if (auto* axis = dynamic_cast<TPlotXAxis*>(&obj)) axis->SetHorizontal(!xyAxesReverse_);
    if (auto* axis = dynamic_cast<TPlotYAxis*>(&obj)) axis->SetHorizontal(xyAxesReverse_);
    if (enabled_) InsertZOrder(static_cast<TPlotLayoutObject&>(obj));
}

void TPlotLayoutManager::RemovingObject(TPlotObject& obj) {
    for (TPlotLayoutList* list : {&above_, &below_, &left_, &right_}) Erase(*list, obj);
    if (enabled_) RemoveZOrder(static_cast<TPlotLayoutObject&>(obj));
}

// ---- Layout pass helpers ----------------------------------------------------------------------

int TPlotLayoutManager::GetZOrderMaxWidth(const TPlotTextMeasure& measure, const TPlotLayoutList& list,
                                          int32_t zOrder) {
    int widest = 0;
    for (TPlotLayoutObject* obj : list) {
        if (obj->GetZOrder() != zOrder || IsCartesianAxis(*obj)) continue;
        widest = std::max(widest, obj->GetRequiredWidth(measure));
    }
    return widest;
}

int TPlotLayoutManager::GetTotalRequiredWidth(const TPlotTextMeasure& measure, const TPlotLayoutList& list) {
    int total = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i == 0 || list[i]->GetZOrder() != list[i - 1]->GetZOrder()) {
            total += GetZOrderMaxWidth(measure, list, list[i]->GetZOrder());
        }
    }
    return total;
}

int TPlotLayoutManager::GetMaxGaurd(const TPlotTextMeasure& measure, const TPlotLayoutList& list, bool startEnd) {
    int largest = 0;
    for (TPlotLayoutObject* obj : list) {
        if (IsCartesianAxis(*obj)) continue;
        if (startEnd ? obj->GetStartStacked() : obj->GetStopStacked()) continue;
        largest = std::max(largest, obj->GetRequiredLengthGaurd(measure));
    }
    return largest;
}

// Neighbours in a band touch at their stacked ends, which therefore need no guard; an object
// with ForceStacking is treated as stacked at both ends whatever its band holds.
void TPlotLayoutManager::UpdateStacking(const TPlotLayoutList& list) {
    for (TPlotLayoutObject* obj : list) {
        obj->SetStartStacked(false);
        obj->SetStopStacked(false);
    }
    TPlotLayoutObject* previous = nullptr;
    int32_t previousZOrder = -1;
    for (TPlotLayoutObject* obj : list) {
        if (IsCartesianAxis(*obj)) continue;
        if (obj->GetForceStacking()) {
            obj->SetStartStacked(true);
            obj->SetStopStacked(true);
        } else if (obj->GetZOrder() == previousZOrder) {
            if (previous != nullptr) previous->SetStopStacked(true);
            obj->SetStartStacked(true);
        } else {
            previousZOrder = obj->GetZOrder();
        }
        previous = obj;
    }
}

TPlotLayoutList TPlotLayoutManager::UpdateVisibleList(const TPlotLayoutList& source) {
    TPlotLayoutList visible;
    std::copy_if(source.begin(), source.end(), std::back_inserter(visible),
                 [](const TPlotLayoutObject* obj) { return obj->GetVisible(); });
    return visible;
}

TPlotLayoutObject* TPlotLayoutManager::DataView0() const {
    const TPlotComponent* owner = GetOwner();
    if (owner == nullptr || owner->DataViewCount() == 0) return nullptr;
    return owner->GetDataView(0);
}

// ---- Layout pass ------------------------------------------------------------------------------

void TPlotLayoutManager::CalcLayout(const TPlotTextMeasure& measure, const TPlotLayoutFrame& frame) {
    const TPlotLayoutList above = UpdateVisibleList(above_);
    const TPlotLayoutList below = UpdateVisibleList(below_);
    const TPlotLayoutList left = UpdateVisibleList(left_);
    const TPlotLayoutList right = UpdateVisibleList(right_);
    for (const TPlotLayoutList* list : {&above, &below, &left, &right}) UpdateStacking(*list);

    // Vertical objects run upward, so their stop ends point to the top.
    int gTop = std::max({0, GetMaxGaurd(measure, left, false), GetMaxGaurd(measure, right, false)});
    const int gBottom = std::max({0, GetMaxGaurd(measure, left, true), GetMaxGaurd(measure, right, true)});
    const int gRight = std::max({0, GetMaxGaurd(measure, above, false), GetMaxGaurd(measure, below, false)});
    const int gLeft = std::max({0, GetMaxGaurd(measure, above, true), GetMaxGaurd(measure, below, true)});

    const int tLeft = std::max(GetTotalRequiredWidth(measure, left), gLeft);
    const int tRight = std::max(GetTotalRequiredWidth(measure, right), gRight);
    const int tAbove = std::max(GetTotalRequiredWidth(measure, above), gTop);
    const int tBelow = std::max(GetTotalRequiredWidth(measure, below), gBottom);

    const int b = frame.Border;
    // A toolbar alone above sits at the very top, so the end guard of the vertical objects must
    // be kept between it and the data view; any other object above leaves room enough.
    const bool toolBarAlone = above.size() == 1 && dynamic_cast<TPlotToolBar*>(above.front()) != nullptr;
    if (!toolBarAlone) gTop = 0;
    TPlotRect view;
    view.Top = tAbove + b + frame.OuterMarginTop + gTop;
    view.Left = tLeft + b + frame.OuterMarginLeft;
    view.Right = frame.Width - (tRight + b + frame.OuterMarginRight) - 1;
    view.Bottom = frame.Height - (tBelow + b + frame.OuterMarginBottom) - 1;

    PlaceBands(measure, above, below, left, right, view, gTop, b);
    TPlotLayoutObject* dataView = DataView0();
    if (dataView != nullptr) dataView->SetDrawRect(view);
    PlaceAlongSides(frame, view);
    PlaceCartesianAndAlignedAxes(measure, view);
    const TPlotRect scales = SpanOfAxisScales(measure, frame);
    if (dataView != nullptr) dataView->SetDrawRect(scales);
}

// Each list is walked outward from the data view's edge; a run of equal ZOrder is one band, as
// thick as its widest object.
void TPlotLayoutManager::PlaceBands(const TPlotTextMeasure& measure, const TPlotLayoutList& above,
                                    const TPlotLayoutList& below, const TPlotLayoutList& left,
                                    const TPlotLayoutList& right, const TPlotRect& view, int gTop, int border) {
    struct Walk {
        const TPlotTextMeasure& measure;
        const TPlotLayoutList& list;
        int position;
        int thickness = 0;
        bool started = false;
        int32_t zOrder = 0;
        // Steps past the previous band when obj starts a new one (outward is -1 or +1).
        void Enter(const TPlotLayoutObject& obj, int outward) {
            if (started && obj.GetZOrder() == zOrder) return;
            position += outward * thickness;
            zOrder = obj.GetZOrder();
            thickness = GetZOrderMaxWidth(measure, list, zOrder);
            started = true;
        }
    };
    auto setAcross = [](TPlotLayoutObject& obj, int low, int high) {
        TPlotRect rect = obj.GetDrawRect();
        if (obj.GetHorizontal()) {
            rect.Top = low;
            rect.Bottom = high;
        } else {
            rect.Left = low;
            rect.Right = high;
        }
        obj.SetDrawRect(rect);
    };

    Walk walkLeft{measure, left, view.Left};
    for (auto it = left.rbegin(); it != left.rend(); ++it) {
        walkLeft.Enter(**it, -1);
        setAcross(**it, walkLeft.position - walkLeft.thickness, walkLeft.position);
    }
    Walk walkRight{measure, right, view.Right};
    for (TPlotLayoutObject* obj : right) {
        walkRight.Enter(*obj, +1);
        setAcross(*obj, walkRight.position, walkRight.position + walkRight.thickness);
    }
    Walk walkAbove{measure, above, view.Top};
    bool guardPassed = false;
    for (TPlotLayoutObject* obj : above) {
        if (!guardPassed && dynamic_cast<TPlotAxis*>(obj) == nullptr) {
            walkAbove.position -= gTop;
            guardPassed = true;
        }
        walkAbove.Enter(*obj, -1);
        setAcross(*obj, walkAbove.position - walkAbove.thickness, walkAbove.position);
        if (dynamic_cast<TPlotToolBar*>(obj) != nullptr) {
            setAcross(*obj, border, border + obj->GetRequiredWidth(measure));
        }
    }
    Walk walkBelow{measure, below, view.Bottom};
    for (auto it = below.rbegin(); it != below.rend(); ++it) {
        walkBelow.Enter(**it, +1);
        setAcross(**it, walkBelow.position, walkBelow.position + walkBelow.thickness);
    }
}

// The extent along the side, for every layout object, shown or not, so that an object made
// visible between passes already has a sensible rectangle.
void TPlotLayoutManager::PlaceAlongSides(const TPlotLayoutFrame& frame, const TPlotRect& view) {
    const int b = frame.Border;
    const int viewWidth = view.Right - view.Left;
    const int viewHeight = view.Bottom - view.Top;
    for (TPlotObject* listed : GetObjects()) {
        if (IsDataView(*listed) || IsPlaceholder(*listed)) continue;
        auto& obj = static_cast<TPlotLayoutObject&>(*listed);
        const double start = obj.GetStartPercent() / 100;
        const double stop = obj.GetStopPercent() / 100;
        const bool toolBar = dynamic_cast<TPlotToolBar*>(&obj) != nullptr;
        TPlotRect rect = obj.GetDrawRect();
        if (obj.GetHorizontal()) {
            if (toolBar) {
                rect.Left = RoundToInt(start * (frame.Width - 2 * b)) + b;
                rect.Right = RoundToInt(stop * (frame.Width - 2 * b)) + b - 1;
            } else if (dynamic_cast<TPlotLabel*>(&obj) != nullptr) {
                const int length = frame.Width - b - frame.OuterMarginLeft - frame.OuterMarginRight;
                rect.Left = RoundToInt(start * length) + b + frame.OuterMarginLeft;
                rect.Right = RoundToInt(stop * length) + b + frame.OuterMarginLeft;
            } else {
                rect.Left = view.Left + RoundToInt(viewWidth * start);
                rect.Right = view.Left + RoundToInt(viewWidth * stop);
            }
        } else if (!toolBar) {
            rect.Top = view.Bottom - RoundToInt(viewHeight * stop);
            rect.Bottom = view.Bottom - RoundToInt(viewHeight * start);
        }
        obj.SetDrawRect(rect);
    }
}

void TPlotLayoutManager::PlaceCartesianAndAlignedAxes(const TPlotTextMeasure& measure, const TPlotRect& view) {
    std::vector<TPlotAxis*> axes;
    for (TPlotObject* obj : GetObjects()) {
        if (auto* axis = dynamic_cast<TPlotAxis*>(obj)) axes.push_back(axis);
    }
    const auto findAxis = [&axes](const TPlotAxis& self, const std::string& name) -> TPlotAxis* {
        for (TPlotAxis* axis : axes) {
            if (axis != &self && SameText(axis->GetName(), name)) return axis;
        }
        return nullptr;
    };
    // A Cartesian axis is a line across the data view: through its middle (master), or through
    // the reference axis's pixel of the crossing value (child).
    const auto crossAt = [&view](TPlotAxis& axis, int pixel) {
        if (axis.GetHorizontal()) {
            axis.SetDrawRect({view.Left, pixel, view.Right, pixel});
        } else {
            axis.SetDrawRect({pixel, view.Top, pixel, view.Bottom});
        }
    };
    for (TPlotAxis* axis : axes) {
        if (axis->GetCartesianStyle() == ipcsMaster) {
            crossAt(*axis, axis->GetHorizontal() ? (view.Top + view.Bottom) / 2 : (view.Left + view.Right) / 2);
        }
    }
    for (TPlotAxis* axis : axes) {
        if (axis->GetCartesianStyle() != ipcsChild) continue;
        if (TPlotAxis* reference = findAxis(*axis, axis->GetCartesianChildRefAxisName())) {
            crossAt(*axis, reference->PositionToPixels(axis->GetCartesianChildRefValue()));
        } else {
            axis->SetDrawRect({});
        }
    }
    for (TPlotAxis* axis : axes) {
        TPlotAxis* reference = findAxis(*axis, axis->GetAlignRefAxisName());
        if (reference == nullptr) continue;
        TPlotRect rect = axis->GetDrawRect();
        const TPlotRect& from = reference->GetDrawRect();
        if (axis->GetHorizontal()) {
            rect.Left = from.Left;
            rect.Right = from.Right;
        } else {
            rect.Top = from.Top;
            rect.Bottom = from.Bottom;
        }
        axis->SetDrawRect(rect);
        axis->SetStartStacked(reference->GetStartStacked());
        axis->SetStopStacked(reference->GetStopStacked());
        axis->CalcScaleRect(axis->MeasureLabelMetrics(measure));
    }
}

// The data view spans exactly the scales: the bands' estimate does not know the stacking
// margins the axes keep at their ends.
TPlotRect TPlotLayoutManager::SpanOfAxisScales(const TPlotTextMeasure& measure, const TPlotLayoutFrame& frame) {
    TPlotRect span{frame.Width, frame.Height, 0, 0};
    for (TPlotObject* obj : GetObjects()) {
        auto* axis = dynamic_cast<TPlotAxis*>(obj);
        if (axis == nullptr) continue;
        axis->CalcScaleRect(axis->MeasureLabelMetrics(measure));
        const TPlotRect& scale = axis->GetScaleRect();
        if (axis->IsXAxis() != xyAxesReverse_) {
            span.Left = std::min(span.Left, scale.Left);
            span.Right = std::max(span.Right, scale.Right);
        } else {
            span.Top = std::min(span.Top, scale.Top);
            span.Bottom = std::max(span.Bottom, scale.Bottom);
        }
    }
    return span;
}

// ---- Axis collision list ----------------------------------------------------------------------

bool TPlotLayoutManager::AddAxesCollisionDetectionItem(const TPlotRect& rect) {
    for (const TPlotRect& stored : collisionList_) {
        if (Intersects(stored, rect)) return false;
    }
    if (!collisionList_.empty()) {
        const TPlotLayoutObject* dataView = DataView0();
        if (dataView != nullptr && !Inside(rect, dataView->GetDrawRect())) return false;
    }
    collisionList_.push_back(rect);
    return true;
}

}  // namespace ondrix
