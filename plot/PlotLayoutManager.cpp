#include "plot/PlotLayoutManager.h"

#include <utility>

namespace ondrix {

TPlotDataViewHorz::TPlotDataViewHorz(TPlotComponent* owner, TPlotObjectEvents events)
    : TPlotDataViewLayout(owner, std::move(events)) {
    SetHorizontal(true);
}

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

// The axis flip (each axis leaves its band, turns, and enters the outermost band of its new
// side) comes with the ZOrder bookkeeping; until then the value is only kept.
void TPlotLayoutManager::SetXYAxesReverse(bool value) { xyAxesReverse_ = value; }

// Seam for the side lists (above, below, left, right), which the layout work adds; nothing
// depends on them before the layout pass exists.
void TPlotLayoutManager::DoLayoutChange() {}

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
    // With the ZOrder bookkeeping, an enabled manager gives the newcomer its band here
    // (InsertZOrder); while disabled the stored ZOrder is taken as it is.
}

}  // namespace ondrix
