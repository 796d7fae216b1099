#pragma once
// The layout manager lists every layout object of the plot (axes, toolbars, legends, tables,
// labels, data views) in insertion order, and owns the two placeholders that stand for the data
// view among the bands: their ZOrder is the data view's position across the horizontal and the
// vertical sides (the component's DataViewZHorz and DataViewZVert).
//
// Built here: the list, Enabled, the placeholders, the OnLayoutChange wiring, and the
// orientation of axes as they arrive. The four side lists, the ZOrder bookkeeping as objects
// come and go (InsertZOrder, RemoveZOrder), the axis flip of XYAxesReverse and the layout pass
// arrive with the layout work; they hang on DoLayoutChange, Inserted and RemovingObject.
//
// Threads: GUI thread only.

#include <memory>
#include <string>

#include "plot/PlotManagers.h"
#include "plot/PlotObjects.h"

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

    // Called when a layout object's band may have changed; rebuilds the side lists once they
    // exist.
    void DoLayoutChange();

protected:
    bool Accepts(const TPlotObject& obj) const override;
    void Inserted(TPlotObject& obj) override;

private:
    bool enabled_ = false;
    bool xyAxesReverse_ = false;
    std::unique_ptr<TPlotDataViewHorz> dataViewHorz_;
    std::unique_ptr<TPlotDataViewVert> dataViewVert_;
};

}  // namespace ondrix
