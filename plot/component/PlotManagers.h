#pragma once
// The plot's object managers: ordered lists that give each object an index and a default name.
//
//   TPlotObjectManagerCustom  the list (insertion order, no duplicates), lookup, default naming,
//                             and the notifications the master manager routes through it
//   TPlotObjectOwnedManager   a list that also owns its objects (std::unique_ptr) and frees them
//   TPlotKindManager<T>       typed access for one kind
//   the eleven per-kind managers, and TPlotObjectManager, which lists every object without
//   owning any (mouse, keyboard and focus routing)
//
// Objects are made only through a per-kind manager's CreateObject; the made object belongs to
// that manager from then on and joins the lists when it is Loaded. A manager lists only objects
// of its kind, and an owned manager only objects it owns.
//
// Freeing (FreeObject, Clear): the manager takes the object's unique_ptr out of its store, the
// object reports its removal while still whole (TPlotObject::ReportRemoval, which the master
// routes to every manager and every other object), then it is destroyed. A manager that is
// itself destroyed frees its objects without any report: only the master destroys managers, and
// then the whole plot goes.
//
// Errors: EPlotError "Owner must be Assigned" and the handler messages of TPlotManagerObject at
// construction; "List index out of bounds (%d)" for an index outside 0..GetCount()-1.
//
// Threads: GUI thread only.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannelCustom.h"
#include "plot/objects/PlotObjects.h"
#include "plot/views/PlotDataCursor.h"
#include "plot/views/PlotDataView.h"
#include "plot/views/PlotExtras.h"
#include "plot/views/PlotLabel.h"
#include "plot/views/PlotLegend.h"
#include "plot/views/PlotToolBar.h"

namespace ondrix {

// ---- The list ----------------------------------------------------------------------------

class TPlotObjectManagerCustom {
public:
    TPlotObjectManagerCustom(TPlotComponent* owner, TPlotObjectEvents events);
    virtual ~TPlotObjectManagerCustom();
    TPlotObjectManagerCustom(const TPlotObjectManagerCustom&) = delete;
    TPlotObjectManagerCustom& operator=(const TPlotObjectManagerCustom&) = delete;

    // The base of the default names, as in "Channel" for "Channel 3".
    virtual std::string GetName() const = 0;

    int GetCount() const { return static_cast<int>(objects_.size()); }
    TPlotObject* GetObject(int index) const;
    // The first object whose name equals `name` ignoring the case of a..z; null when none.
    TPlotObject* GetObjectByName(const std::string& name) const;
    int GetObjectIndexByName(const std::string& name) const;
    int IndexOf(const TPlotObject& obj) const;
    const std::vector<TPlotObject*>& GetObjects() const { return objects_; }

    // Base name, a blank and one more than the highest number that follows the base name
    // (ignoring case) in the names held; numbers below it are not reused.
    std::string GetNextName() const;

    // Lists obj if it is of this manager's kind and not yet listed.
    virtual void NotificationInsert(TPlotObject& obj);
    // Drops obj if listed, then RemovingObject and OnChange.
    virtual void NotificationRemove(TPlotObject& obj);
    // Passes the notification to every listed object.
    void NotificationRename(TPlotObject& obj);
    void NotificationSetFocus(TPlotObject& obj);

    virtual void Clear();
    // Takes the entry out of the list; the object is neither told nor freed.
    void Delete(int index);

protected:
    virtual bool Accepts(const TPlotObject& obj) const = 0;
    // obj has just joined the list.
    virtual void Inserted(TPlotObject& obj);
    // obj has just left the list.
    virtual void RemovingObject(TPlotObject& obj);

    TPlotComponent* GetOwner() const { return owner_; }
    const TPlotObjectEvents& GetEvents() const { return events_; }

private:
    TPlotComponent* owner_;
    TPlotObjectEvents events_;
    std::vector<TPlotObject*> objects_;
};

// ---- Owning lists ------------------------------------------------------------------------

class TPlotObjectOwnedManager : public TPlotObjectManagerCustom {
public:
    using TPlotObjectManagerCustom::TPlotObjectManagerCustom;
    ~TPlotObjectOwnedManager() override;

    // A new object of the kind, with this manager's handlers; it joins the plot when Loaded.
    virtual TPlotObject& CreateObject() = 0;

    // Frees one of this manager's objects (see the header comment); others are ignored.
    void FreeObject(TPlotObject& obj);
    // Frees every object, listed or not yet loaded.
    void Clear() override;

    void NotificationInsert(TPlotObject& obj) override;
    // Every other object it holds hears of the removal first, so that it drops its references.
    void NotificationRemove(TPlotObject& obj) override;

protected:
    TPlotObject& Adopt(std::unique_ptr<TPlotObject> obj);
    // A nameless newcomer gets the next default name, then the kind's defaults.
    void Inserted(TPlotObject& obj) override;
    virtual void ApplyDefaults(TPlotObject& obj);

private:
    bool Owns(const TPlotObject& obj) const;

    std::vector<std::unique_ptr<TPlotObject>> owned_;
};

template <class T>
class TPlotKindManager : public TPlotObjectOwnedManager {
public:
    using TPlotObjectOwnedManager::TPlotObjectOwnedManager;

    T* GetItem(int index) const { return static_cast<T*>(GetObject(index)); }
    T* GetItemByName(const std::string& name) const { return static_cast<T*>(GetObjectByName(name)); }

protected:
    bool Accepts(const TPlotObject& obj) const override { return dynamic_cast<const T*>(&obj) != nullptr; }
    void ApplyDefaults(TPlotObject& obj) final { SetDefaults(static_cast<T&>(obj)); }
    virtual void SetDefaults(T&) {}
};

class TPlotXAxisManager;
class TPlotYAxisManager;

// For kinds whose newcomers are bound to the plot's first axes.
class TPlotAxisManagerLinks {
public:
    void SetXAxisManager(TPlotXAxisManager* manager) { xAxisManager_ = manager; }
    void SetYAxisManager(TPlotYAxisManager* manager) { yAxisManager_ = manager; }

protected:
    TPlotXAxis* FirstXAxis() const;
    TPlotYAxis* FirstYAxis() const;

private:
    TPlotXAxisManager* xAxisManager_ = nullptr;
    TPlotYAxisManager* yAxisManager_ = nullptr;
};

// ---- Per-kind managers -------------------------------------------------------------------

class TPlotToolBarManager : public TPlotKindManager<TPlotToolBar> {
public:
    using TPlotKindManager::TPlotKindManager;
    std::string GetName() const override { return "Toolbar"; }
    TPlotToolBar& CreateObject() override;
};

class TPlotLegendManager : public TPlotKindManager<TPlotLegend> {
public:
    using TPlotKindManager::TPlotKindManager;
    std::string GetName() const override { return "Legend"; }
    TPlotLegend& CreateObject() override;
};

class TPlotTableManager : public TPlotKindManager<TPlotTable> {
public:
    using TPlotKindManager::TPlotKindManager;
    std::string GetName() const override { return "Table"; }
    TPlotTable& CreateObject() override;
};

class TPlotXAxisManager : public TPlotKindManager<TPlotXAxis> {
public:
    using TPlotKindManager::TPlotKindManager;
    std::string GetName() const override { return "X-Axis"; }
    TPlotXAxis& CreateObject() override;

protected:
    void SetDefaults(TPlotXAxis& axis) override;
};

class TPlotYAxisManager : public TPlotKindManager<TPlotYAxis> {
public:
    using TPlotKindManager::TPlotKindManager;
    std::string GetName() const override { return "Y-Axis"; }
    TPlotYAxis& CreateObject() override;

protected:
    void SetDefaults(TPlotYAxis& axis) override;
};

// Thirty colours handed to new channels, in this order.
extern const std::array<TColor, 30> kPlotChannelPalette;

class TPlotChannelManager : public TPlotKindManager<TPlotChannelCustom>, public TPlotAxisManagerLinks {
public:
    // Makes channels of `channelClass`, which must not be null.
    TPlotChannelManager(TPlotComponent* owner, TPlotObjectEvents events, TPlotChannelClass channelClass);

    std::string GetName() const override { return "Channel"; }
    TPlotChannelCustom& CreateObject() override;

    TPlotChannelClass GetChannelClass() const { return channelClass_; }
    void SetChannelClass(TPlotChannelClass channelClass) { channelClass_ = channelClass; }

    // The colour for the channel just listed (still red): red while fewer than two channels,
    // else the first palette colour that the fewest channels wear.
    TColor GetNextChannelColor() const;

protected:
    void SetDefaults(TPlotChannelCustom& channel) override;

private:
    TPlotChannelClass channelClass_;
};

class TPlotDataViewManager : public TPlotKindManager<TPlotDataView>, public TPlotAxisManagerLinks {
public:
    using TPlotKindManager::TPlotKindManager;
    std::string GetName() const override { return "Data View"; }
    TPlotDataView& CreateObject() override;

protected:
    void SetDefaults(TPlotDataView& dataView) override;
};

class TPlotDataCursorManager : public TPlotKindManager<TPlotDataCursor> {
public:
    using TPlotKindManager::TPlotKindManager;
    std::string GetName() const override { return "Cursor"; }
    TPlotDataCursor& CreateObject() override;

    void SetChannelManager(TPlotChannelManager* manager) { channelManager_ = manager; }
    void SetDataViewManager(TPlotDataViewManager* manager) { dataViewManager_ = manager; }

protected:
    void SetDefaults(TPlotDataCursor& cursor) override;

private:
    TPlotChannelManager* channelManager_ = nullptr;
    TPlotDataViewManager* dataViewManager_ = nullptr;
};

class TPlotLimitManager : public TPlotKindManager<TPlotLimit>, public TPlotAxisManagerLinks {
public:
    using TPlotKindManager::TPlotKindManager;
    std::string GetName() const override { return "Limit"; }
    TPlotLimit& CreateObject() override;

protected:
    void SetDefaults(TPlotLimit& limit) override;
};

class TPlotLabelManager : public TPlotKindManager<TPlotLabel> {
public:
    using TPlotKindManager::TPlotKindManager;
    std::string GetName() const override { return "Label"; }
    TPlotLabel& CreateObject() override;

protected:
    void SetDefaults(TPlotLabel& label) override;
};

// Annotations are left exactly as made: not even a name.
class TPlotAnnotationManager : public TPlotKindManager<TPlotAnnotation> {
public:
    using TPlotKindManager::TPlotKindManager;
    std::string GetName() const override { return "Annotation"; }
    TPlotAnnotation& CreateObject() override;

protected:
    void Inserted(TPlotObject& obj) override;
};

// ---- Every object ------------------------------------------------------------------------

// Lists every plot object in insertion order, for mouse, keyboard and focus routing.
class TPlotObjectManager : public TPlotObjectManagerCustom {
public:
    using TPlotObjectManagerCustom::TPlotObjectManagerCustom;

    std::string GetName() const override { return "n/a"; }
    // Objects belong to their kind's manager: always throws.
    [[noreturn]] TPlotObject& CreateObject();

    void ClearAllUserSelections();
    void SetShiftState(TShiftState shift);

    // Each passes the call to every selected object, in list order.
    void MouseDownFocusObjects(TMouseButton button, TShiftState shift, int x, int y);
    // Each object gets its own hint record: hints produced while dragging are dropped.
    void MouseMoveFocusObjects(TShiftState shift, int x, int y, bool dblClick);
    void MouseUpFocusObjects(TMouseButton button, TShiftState shift, int x, int y, bool dblClick);
    void KeyDownFocusObjects(int& key, TShiftState shift);
    // True when any selected object handled the wheel.
    bool MouseWheelFocusObjects(int delta, TShiftState shift, int x, int y);

    // Unhooks OnRemove, OnLayoutChange and OnChange of every object, so that a dying plot's
    // objects call nobody.
    void ShutDownSetup();

protected:
    bool Accepts(const TPlotObject&) const override { return true; }

private:
    // The selected objects at the start of a broadcast; one that leaves the plot meanwhile is
    // skipped by the caller.
    std::vector<TPlotObject*> SelectedObjects() const;
};

}  // namespace ondrix
