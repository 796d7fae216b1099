#include "plot/component/PlotManagers.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

namespace ondrix {

namespace {

TPlotObjectEvents CheckedManagerEvents(const TPlotComponent* owner, TPlotObjectEvents events) {
    if (owner == nullptr) throw EPlotError("Owner must be Assigned");
    CheckPlotObjectEvents(events);
    return events;
}

// The number in a name's suffix: optional leading blanks, an optional sign, decimal digits, and
// nothing after them; it must fit in 32 bits.
bool ParseNameNumber(const std::string& text, long long& number) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t firstDigit = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i == firstDigit || i != text.size()) return false;
    errno = 0;
    const long long value = std::strtoll(text.c_str() + start, nullptr, 10);
    if (errno == ERANGE || value < INT32_MIN || value > INT32_MAX) return false;
    number = value;
    return true;
}

}  // namespace

// ---- TPlotObjectManagerCustom ------------------------------------------------------------

TPlotObjectManagerCustom::TPlotObjectManagerCustom(TPlotComponent* owner, TPlotObjectEvents events)
    : owner_(owner), events_(CheckedManagerEvents(owner, std::move(events))) {}

TPlotObjectManagerCustom::~TPlotObjectManagerCustom() = default;

TPlotObject* TPlotObjectManagerCustom::GetObject(int index) const {
    if (index < 0 || index >= GetCount()) {
        throw EPlotError("List index out of bounds (" + std::to_string(index) + ")");
    }
    return objects_[static_cast<size_t>(index)];
}

TPlotObject* TPlotObjectManagerCustom::GetObjectByName(const std::string& name) const {
    const int index = GetObjectIndexByName(name);
    return index < 0 ? nullptr : objects_[static_cast<size_t>(index)];
}

int TPlotObjectManagerCustom::GetObjectIndexByName(const std::string& name) const {
    for (size_t i = 0; i < objects_.size(); ++i) {
        if (SameText(objects_[i]->GetName(), name)) return static_cast<int>(i);
    }
    return -1;
}

int TPlotObjectManagerCustom::IndexOf(const TPlotObject& obj) const {
    const auto it = std::find(objects_.begin(), objects_.end(), &obj);
    return it == objects_.end() ? -1 : static_cast<int>(it - objects_.begin());
}

std::string TPlotObjectManagerCustom::GetNextName() const {
    const std::string base = GetName();
    long long highest = 0;
    for (const TPlotObject* obj : objects_) {
        const std::string& name = obj->GetName();
        if (!SameText(name.substr(0, base.size()), base)) continue;
        long long number = 0;
        if (!ParseNameNumber(name.substr(base.size()), number)) continue;
        highest = std::max(highest, number);
    }
    return base + " " + std::to_string(highest + 1);
}

void TPlotObjectManagerCustom::NotificationInsert(TPlotObject& obj) {
    if (!Accepts(obj) || IndexOf(obj) >= 0) return;
    objects_.push_back(&obj);
    Inserted(obj);
}

void TPlotObjectManagerCustom::NotificationRemove(TPlotObject& obj) {
    const int index = IndexOf(obj);
    if (index < 0) return;
    objects_.erase(objects_.begin() + index);
    RemovingObject(obj);
    events_.OnChange(obj);
}

void TPlotObjectManagerCustom::NotificationRename(TPlotObject& obj) {
    for (TPlotObject* listed : objects_) listed->NotificationRename(obj);
}

void TPlotObjectManagerCustom::NotificationSetFocus(TPlotObject& obj) {
    for (TPlotObject* listed : objects_) listed->NotificationSetFocus(obj);
}

void TPlotObjectManagerCustom::Clear() {}

void TPlotObjectManagerCustom::Delete(int index) {
    GetObject(index);  // refuses an index outside the list
    objects_.erase(objects_.begin() + index);
}

void TPlotObjectManagerCustom::Inserted(TPlotObject&) {}
void TPlotObjectManagerCustom::RemovingObject(TPlotObject&) {}

// ---- TPlotObjectOwnedManager -------------------------------------------------------------

TPlotObjectOwnedManager::~TPlotObjectOwnedManager() = default;

void TPlotObjectOwnedManager::FreeObject(TPlotObject& obj) {
    const auto it = std::find_if(owned_.begin(), owned_.end(), [&obj](const auto& p) { return p.get() == &obj; });
    if (it == owned_.end()) return;
    const std::unique_ptr<TPlotObject> dying = std::move(*it);
    owned_.erase(it);
    dying->ReportRemoval();
    // Unhooked (the plot is shutting down) or never loaded: nobody took it off this list.
    if (const int index = IndexOf(*dying); index >= 0) Delete(index);
}

void TPlotObjectOwnedManager::Clear() {
    while (!owned_.empty()) FreeObject(*owned_.front());
}

void TPlotObjectOwnedManager::NotificationInsert(TPlotObject& obj) {
    if (Owns(obj)) TPlotObjectManagerCustom::NotificationInsert(obj);
}

void TPlotObjectOwnedManager::NotificationRemove(TPlotObject& obj) {
    for (size_t i = 0; i < owned_.size(); ++i) {
        if (owned_[i].get() != &obj) owned_[i]->NotificationRemove(obj);
    }
    TPlotObjectManagerCustom::NotificationRemove(obj);
}

TPlotObject& TPlotObjectOwnedManager::Adopt(std::unique_ptr<TPlotObject> obj) {
    owned_.push_back(std::move(obj));
    return *owned_.back();
}

void TPlotObjectOwnedManager::Inserted(TPlotObject& obj) {
    if (!obj.GetName().empty()) return;
    obj.SetName(GetNextName());
    ApplyDefaults(obj);
}

void TPlotObjectOwnedManager::ApplyDefaults(TPlotObject&) {}

bool TPlotObjectOwnedManager::Owns(const TPlotObject& obj) const {
    return std::any_of(owned_.begin(), owned_.end(), [&obj](const auto& p) { return p.get() == &obj; });
}

TPlotXAxis* TPlotAxisManagerLinks::FirstXAxis() const {
    return xAxisManager_ != nullptr && xAxisManager_->GetCount() > 0 ? xAxisManager_->GetItem(0) : nullptr;
}

TPlotYAxis* TPlotAxisManagerLinks::FirstYAxis() const {
    return yAxisManager_ != nullptr && yAxisManager_->GetCount() > 0 ? yAxisManager_->GetItem(0) : nullptr;
}

// ---- Per-kind managers -------------------------------------------------------------------

TPlotToolBar& TPlotToolBarManager::CreateObject() {
    return static_cast<TPlotToolBar&>(Adopt(std::make_unique<TPlotToolBar>(GetOwner(), GetEvents())));
}

TPlotLegend& TPlotLegendManager::CreateObject() {
    return static_cast<TPlotLegend&>(Adopt(std::make_unique<TPlotLegend>(GetOwner(), GetEvents())));
}

TPlotTable& TPlotTableManager::CreateObject() {
    return static_cast<TPlotTable&>(Adopt(std::make_unique<TPlotTable>(GetOwner(), GetEvents())));
}

TPlotXAxis& TPlotXAxisManager::CreateObject() {
    return static_cast<TPlotXAxis&>(Adopt(std::make_unique<TPlotXAxis>(GetOwner(), GetEvents())));
}

void TPlotXAxisManager::SetDefaults(TPlotXAxis& axis) { axis.SetTitle(axis.GetName()); }

TPlotYAxis& TPlotYAxisManager::CreateObject() {
    return static_cast<TPlotYAxis&>(Adopt(std::make_unique<TPlotYAxis>(GetOwner(), GetEvents())));
}

void TPlotYAxisManager::SetDefaults(TPlotYAxis& axis) { axis.SetTitle(axis.GetName()); }

namespace {
constexpr TColor Rgb(uint32_t rgb) { return ColorFromRgb(rgb); }
}  // namespace

// Red, yellow, blue, fuchsia, aqua, lime, white, maroon, green, olive, navy, purple, teal, gray,
// then mixed shades.
const std::array<TColor, 30> kPlotChannelPalette = {
    Rgb(0xFF0000), Rgb(0xFFFF00), Rgb(0x0000FF), Rgb(0xFF00FF), Rgb(0x00FFFF), Rgb(0x00FF00),
    Rgb(0xFFFFFF), Rgb(0x800000), Rgb(0x008000), Rgb(0x808000), Rgb(0x000080), Rgb(0x800080),
    Rgb(0x008080), Rgb(0x808080), Rgb(0xC00000), Rgb(0x00C000), Rgb(0xC0C000), Rgb(0x0000C0),
    Rgb(0xC000C0), Rgb(0x00C0C0), Rgb(0xC0C0C0), Rgb(0xFF8000), Rgb(0xFF0080), Rgb(0xFF8080),
    Rgb(0x8000FF), Rgb(0x0080FF), Rgb(0x8080FF), Rgb(0x80FF00), Rgb(0x00FF80), Rgb(0x80FF80),
};

TPlotChannelManager::TPlotChannelManager(TPlotComponent* owner, TPlotObjectEvents events,
                                         TPlotChannelClass channelClass)
    : TPlotKindManager(owner, std::move(events)), channelClass_(channelClass) {}

TPlotChannelCustom& TPlotChannelManager::CreateObject() {
    return static_cast<TPlotChannelCustom&>(Adopt(channelClass_(GetOwner(), GetEvents())));
}

TColor TPlotChannelManager::GetNextChannelColor() const {
    if (GetCount() < 2) return clRed;
    std::array<int, kPlotChannelPalette.size()> uses{};
    for (const TPlotObject* obj : GetObjects()) {
        const TColor color = static_cast<const TPlotChannelCustom*>(obj)->GetColor();
        for (size_t i = 0; i < kPlotChannelPalette.size(); ++i) {
            if (kPlotChannelPalette[i] == color) ++uses[i];
        }
    }
    const auto fewest = std::min_element(uses.begin(), uses.end());
    return kPlotChannelPalette[static_cast<size_t>(fewest - uses.begin())];
}

void TPlotChannelManager::SetDefaults(TPlotChannelCustom& channel) {
    channel.SetTitleText(channel.GetName());
    channel.SetColor(GetNextChannelColor());
    if (const TPlotXAxis* axis = FirstXAxis()) channel.SetXAxisName(axis->GetName());
    if (const TPlotYAxis* axis = FirstYAxis()) channel.SetYAxisName(axis->GetName());
}

TPlotDataView& TPlotDataViewManager::CreateObject() {
    return static_cast<TPlotDataView&>(Adopt(std::make_unique<TPlotDataView>(GetOwner(), GetEvents())));
}

void TPlotDataViewManager::SetDefaults(TPlotDataView& dataView) {
    if (const TPlotXAxis* axis = FirstXAxis()) dataView.SetGridXAxisName(axis->GetName());
    if (const TPlotYAxis* axis = FirstYAxis()) dataView.SetGridYAxisName(axis->GetName());
}

TPlotDataCursor& TPlotDataCursorManager::CreateObject() {
    return static_cast<TPlotDataCursor&>(Adopt(std::make_unique<TPlotDataCursor>(GetOwner(), GetEvents())));
}

void TPlotDataCursorManager::SetDefaults(TPlotDataCursor& cursor) {
    if (dataViewManager_ != nullptr && dataViewManager_->GetCount() > 0) {
        cursor.SetDataView(dataViewManager_->GetItem(0));
    }
    if (channelManager_ != nullptr && channelManager_->GetCount() > 0) {
        cursor.SetChannelName(channelManager_->GetItem(0)->GetName());
    }
}

TPlotLimit& TPlotLimitManager::CreateObject() {
    return static_cast<TPlotLimit&>(Adopt(std::make_unique<TPlotLimit>(GetOwner(), GetEvents())));
}

void TPlotLimitManager::SetDefaults(TPlotLimit& limit) {
    if (const TPlotXAxis* axis = FirstXAxis()) limit.SetXAxisName(axis->GetName());
    if (const TPlotYAxis* axis = FirstYAxis()) limit.SetYAxisName(axis->GetName());
}

TPlotLabel& TPlotLabelManager::CreateObject() {
    return static_cast<TPlotLabel&>(Adopt(std::make_unique<TPlotLabel>(GetOwner(), GetEvents())));
}

void TPlotLabelManager::SetDefaults(TPlotLabel& label) { label.SetCaption(label.GetName()); }

TPlotAnnotation& TPlotAnnotationManager::CreateObject() {
    return static_cast<TPlotAnnotation&>(Adopt(std::make_unique<TPlotAnnotation>(GetOwner(), GetEvents())));
}

void TPlotAnnotationManager::Inserted(TPlotObject&) {}

// ---- TPlotObjectManager ------------------------------------------------------------------

TPlotObject& TPlotObjectManager::CreateObject() {
    throw EPlotError("Object Manager does not support creation of objects");
}

void TPlotObjectManager::ClearAllUserSelections() {
    for (TPlotObject* obj : GetObjects()) obj->SetUserSelected(false);
}

void TPlotObjectManager::SetShiftState(TShiftState shift) {
    for (TPlotObject* obj : GetObjects()) obj->SetShiftState(shift);
}

std::vector<TPlotObject*> TPlotObjectManager::SelectedObjects() const {
    std::vector<TPlotObject*> selected;
    for (TPlotObject* obj : GetObjects()) {
        if (obj->GetUserSelected()) selected.push_back(obj);
    }
    return selected;
}

void TPlotObjectManager::MouseDownFocusObjects(TMouseButton button, TShiftState shift, int x, int y) {
    for (TPlotObject* obj : SelectedObjects()) {
        if (IndexOf(*obj) >= 0) obj->iMouseDown(button, shift, x, y);
    }
}

void TPlotObjectManager::MouseMoveFocusObjects(TShiftState shift, int x, int y, bool dblClick) {
    for (TPlotObject* obj : SelectedObjects()) {
        THintData ownHint;
        if (IndexOf(*obj) >= 0) obj->iMouseMove(ownHint, shift, x, y, dblClick);
    }
}

void TPlotObjectManager::MouseUpFocusObjects(TMouseButton button, TShiftState shift, int x, int y, bool dblClick) {
    for (TPlotObject* obj : SelectedObjects()) {
        if (IndexOf(*obj) >= 0) obj->iMouseUp(button, shift, x, y, dblClick);
    }
}

void TPlotObjectManager::KeyDownFocusObjects(int& key, TShiftState shift) {
    for (TPlotObject* obj : SelectedObjects()) {
        if (IndexOf(*obj) >= 0) obj->iKeyDown(key, shift);
    }
}

bool TPlotObjectManager::MouseWheelFocusObjects(int delta, TShiftState shift, int x, int y) {
    bool handled = false;
    for (TPlotObject* obj : SelectedObjects()) {
        if (IndexOf(*obj) >= 0 && obj->iMouseWheel(delta, shift, x, y)) handled = true;
    }
    return handled;
}

void TPlotObjectManager::ShutDownSetup() {
    for (TPlotObject* obj : GetObjects()) {
        obj->OnRemove = nullptr;
        obj->OnLayoutChange = nullptr;
        obj->OnChange = nullptr;
    }
}

}  // namespace ondrix
