#pragma once
// The layout manager lists every layout object of the plot (axes, toolbars, legends, tables,
// labels, data views) in insertion order, and owns the two placeholders that stand for the data
// view among the bands: their ZOrder is the data view's position across the horizontal and the
// vertical sides (the component's DataViewZHorz and DataViewZVert).
//
// ZOrder is a band index across a side: horizontal objects with a larger ZOrder lie higher up,
// vertical ones further right. Objects not above the data view's ZOrder lie below it (left of
// it); objects with equal ZOrder on one side share a band and are stacked along it.
//
// The manager keeps the four side lists sorted (DoLayoutChange) and keeps ZOrder values
// consistent as objects come and go: a newcomer enters the outermost band of its side
// (InsertZOrder), a departing object that was alone in its band closes that band
// (RemoveZOrder). While disabled (the plot is built or loaded) stored ZOrder values are left as
// they are and the side lists are not rebuilt.
//
// CalcLayout is the layout pass the painting step runs twice per paint: it measures the visible
// objects, assigns every layout object its DrawRect and stacking flags, and sets data view 0's
// DrawRect to the span of the axes' scales. The axis collision list lives here too; the
// painting step clears it at the start of every paint pass.
//
// Threads: GUI thread only.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "plot/component/PlotManagers.h"
#include "plot/core/PlotTextMeasure.h"
#include "plot/objects/PlotObjects.h"

namespace ondrix {

// The data view's stand-in in the bands: never drawn, never in a side list.
class TPlotDataViewLayout : public TPlotLayoutObject {
public:
    using TPlotLayoutObject::TPlotLayoutObject;
};

class TPlotDataViewHorz final : public TPlotDataViewLayout {
public:
    TPlotDataViewHorz(TPlotComponent* owner, TPlotObjectEvents events);
};

class TPlotDataViewVert final : public TPlotDataViewLayout {
public:
    using TPlotDataViewLayout::TPlotDataViewLayout;
};

// The room around the bands, from the component: its client size, its border width (2 with a
// border, 0 without) and its outer margins.
struct TPlotLayoutFrame {
    int Width = 0;
    int Height = 0;
    int Border = 0;
    int OuterMarginLeft = 5;
    int OuterMarginTop = 5;
    int OuterMarginRight = 5;
    int OuterMarginBottom = 5;
};

using TPlotLayoutList = std::vector<TPlotLayoutObject*>;

class TPlotLayoutManager : public TPlotObjectManagerCustom {
public:
    // Starts disabled, makes both placeholders (named "Data View", ZOrder 1) and joins them to
    // the plot, then enables itself.
    TPlotLayoutManager(TPlotComponent* owner, TPlotObjectEvents events);
    ~TPlotLayoutManager() override;

    std::string GetName() const override { return "Layout Object"; }

    // Off while the plot is built or loaded, so that stored ZOrder values stay as they are.
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool value);

    bool GetXYAxesReverse() const { return xyAxesReverse_; }
    void SetXYAxesReverse(bool value);

    TPlotLayoutObject* GetItem(int index) const { return static_cast<TPlotLayoutObject*>(GetObject(index)); }
    TPlotDataViewHorz& GetDataViewHorz() const { return *dataViewHorz_; }
    TPlotDataViewVert& GetDataViewVert() const { return *dataViewVert_; }

    // Called when a layout object's band may have changed: rebuilds the side lists (when
    // enabled) and sets every object's ReverseSide.
    void DoLayoutChange();

    // Sorted by ZOrder, then by StartPercent; never holding data views or placeholders.
    const TPlotLayoutList& GetAboveList() const { return above_; }
    const TPlotLayoutList& GetBelowList() const { return below_; }
    const TPlotLayoutList& GetLeftList() const { return left_; }
    const TPlotLayoutList& GetRightList() const { return right_; }

    // Gives obj ZOrder 0; when that band already holds an object of obj's orientation whose
    // extent overlaps obj's, every band of that orientation (the data view's too) moves out one
    // place first. Then rebuilds.
    void InsertZOrder(TPlotLayoutObject& obj);
    // Closes obj's band when no other object of its orientation shares it. Then rebuilds.
    void RemoveZOrder(TPlotLayoutObject& obj);

    // ---- Layout pass ----
    void CalcLayout(const TPlotTextMeasure& measure, const TPlotLayoutFrame& frame);
    // The largest required width among the list's objects with that ZOrder, Cartesian axes not
    // counted; 0 when none.
    static int GetZOrderMaxWidth(const TPlotTextMeasure& measure, const TPlotLayoutList& list, int32_t zOrder);
    // The sum of GetZOrderMaxWidth over each run of equal ZOrder, walking the list in order.
    static int GetTotalRequiredWidth(const TPlotTextMeasure& measure, const TPlotLayoutList& list);
    // The largest end guard among the list's objects (Cartesian axes not counted) whose start
    // (or stop) end is not stacked; 0 when none.
    static int GetMaxGaurd(const TPlotTextMeasure& measure, const TPlotLayoutList& list, bool startEnd);
    // Sets StartStacked and StopStacked where neighbours in the list share a band.
    static void UpdateStacking(const TPlotLayoutList& list);
    // The list without its invisible objects, in the same order.
    static TPlotLayoutList UpdateVisibleList(const TPlotLayoutList& source);

    // ---- Axis collision list ----
    void ClearAxesCollisionList() { collisionList_.clear(); }
    void AddAxesCollisionItem(const TPlotRect& rect) { collisionList_.push_back(rect); }
    // False when rect meets a stored rectangle or, once any is stored, leaves data view 0;
    // otherwise stores it.
    bool AddAxesCollisionDetectionItem(const TPlotRect& rect);

protected:
    bool Accepts(const TPlotObject& obj) const override;
    void Inserted(TPlotObject& obj) override;
    void RemovingObject(TPlotObject& obj) override;

private:
    TPlotLayoutObject* DataView0() const;
    void FlipAxes();
    void PlaceBands(const TPlotTextMeasure& measure, const TPlotLayoutList& above, const TPlotLayoutList& below,
                    const TPlotLayoutList& left, const TPlotLayoutList& right, const TPlotRect& view, int gTop,
                    int border);
    void PlaceAlongSides(const TPlotLayoutFrame& frame, const TPlotRect& view);
    void PlaceCartesianAndAlignedAxes(const TPlotTextMeasure& measure, const TPlotRect& view);
    TPlotRect SpanOfAxisScales(const TPlotTextMeasure& measure, const TPlotLayoutFrame& frame);

    TPlotLayoutList above_;
    TPlotLayoutList below_;
    TPlotLayoutList left_;
    TPlotLayoutList right_;
    std::vector<TPlotRect> collisionList_;
    bool enabled_ = false;
    bool xyAxesReverse_ = false;
    std::unique_ptr<TPlotDataViewHorz> dataViewHorz_;
    std::unique_ptr<TPlotDataViewVert> dataViewVert_;
};

}  // namespace ondrix
