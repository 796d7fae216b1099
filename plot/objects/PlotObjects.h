#pragma once
// plot/objects holds the object base classes and the references between objects by name,
// which every kind of plot object derives from or uses; it sees only plot/core.
//
// The roots of every plot object:
//   TPlotObject         name, visibility, selection, the notification callbacks, input entry points
//   TPlotManagerObject  an object held by a per-kind manager; checks its construction arguments
//   TPlotLayoutObject   an object the layout places in a band around the data view
//   TPlotButton         a push button inside a toolbar, legend or table; owned by its container,
//                       held by no manager
//
// Ownership: a managed object belongs to its per-kind manager (PlotManagers.h). Its destructor
// calls nobody. The manager that frees it first takes it out of its own list and reports the
// removal through ReportRemoval while the object is still whole (PlotMasterManager.h tells the
// whole sequence).
//
// Callbacks are plain std::function members, wired by the managers: OnChange, OnInsert, OnRemove
// and OnRename come with construction; OnLayoutChange is set by the layout manager, OnSetFocus and
// OnInvalidateNow and OnUnexpectedError by the master manager when the object joins the plot.
// An unset callback is skipped, but for OnUnexpectedError: an error is never dropped, and without
// the plot's hook it goes to standard error.
//
// Setters store only a changed value and then report it: TriggerChange, or TriggerLayoutChange
// for what moves the object between bands (Horizontal, ZOrder, ForceStacking).
//
// Threads: GUI thread only.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "plot/core/PlotErrorReport.h"
#include "plot/core/PlotInput.h"
#include "plot/core/PlotPopupMenu.h"
#include "plot/core/PlotText.h"
#include "plot/core/PlotTimer.h"
#include "plot/core/PlotTypes.h"

namespace ondrix {

class TPlotComponent;
class TPlotObject;
class TPlotTextMeasure;

using TPlotObjectEvent = std::function<void(TPlotObject&)>;

// The four handlers every managed object is built with; a manager hands its own to each object
// it creates.
struct TPlotObjectEvents {
    TPlotObjectEvent OnChange;
    TPlotObjectEvent OnInsert;
    TPlotObjectEvent OnRemove;
    TPlotObjectEvent OnRename;
};

// Throws the construction message of the first missing handler, in the order the messages are
// documented (change, insert, remove, rename).
void CheckPlotObjectEvents(const TPlotObjectEvents& events);

// Whether a reference by name should take the new name of `renamed`: it is the cached object, or,
// with nothing cached yet, the object that bore the referenced name until now. A first naming
// (from no name) moves no reference.
bool ReferenceFollowsRename(const TPlotObject* cached, const std::string& referencedName,
                            const TPlotObject& renamed);

// What an object's input handling reports to the plot, and the plot's services it needs for
// that. The component implements it and hands itself to every object that joins (SetEventSink);
// an object outside a plot has none and reports nothing. The per-kind object events are the
// component's: it finds the kind and index, and raises nothing while loading.
class TPlotObjectEventSink {
public:
    virtual void DoObjectClick(TPlotObject& obj) = 0;
    virtual void DoObjectMouseDown(TPlotObject& obj, TMouseButton button, TShiftState shift, int x, int y) = 0;
    virtual void DoObjectMouseMove(TPlotObject& obj, TShiftState shift, int x, int y) = 0;
    virtual void DoObjectMouseUp(TPlotObject& obj, TMouseButton button, TShiftState shift, int x, int y) = 0;
    virtual void DoObjectGotFocus(TPlotObject& obj) = 0;
    virtual void DoObjectLostFocus(TPlotObject& obj) = 0;
    // A right press with PopupEnabled at client (x, y): the kind's pop-up event, which may
    // cancel; then the object fills the plot's menu (AddMenuItems) and the host shows it.
    virtual void DoObjectPopupMenu(TPlotObject& obj, int x, int y) = 0;
    // The common "Edit..." item was chosen.
    virtual void DoObjectEdit(TPlotObject& obj) = 0;
    // Null when the host gave the plot no timers.
    virtual std::unique_ptr<TPlotTimer> CreateTimer(std::function<void()> onTick) = 0;

protected:
    ~TPlotObjectEventSink() = default;
};

// ---- TPlotObject -------------------------------------------------------------------------

class TPlotObject {
public:
    TPlotObject(TPlotComponent* owner, TPlotObjectEvents events);
    virtual ~TPlotObject();
    TPlotObject(const TPlotObject&) = delete;
    TPlotObject& operator=(const TPlotObject&) = delete;

    TPlotObjectEvent OnChange;        // something visible changed
    TPlotObjectEvent OnLayoutChange;  // the object moved between or within bands
    TPlotObjectEvent OnRemove;        // the object is leaving the plot
    TPlotObjectEvent OnInsert;        // the object is complete: add it to the managers
    TPlotObjectEvent OnRename;        // Name changed
    TPlotObjectEvent OnSetFocus;      // the object became selected
    std::function<void()> OnInvalidateNow;  // asks for an immediate repaint
    TPlotErrorReport OnUnexpectedError;     // the plot's report of errors it contains

    TPlotComponent* GetOwner() const { return owner_; }
    TPlotObjectEventSink* GetEventSink() const { return eventSink_; }
    // Set when the object joins a plot; containers pass it on to their buttons.
    virtual void SetEventSink(TPlotObjectEventSink* sink) { eventSink_ = sink; }
    // Reports an error that is not the plot's own, caught where this object's failure is
    // contained, with the object's name.
    void ReportUnexpectedError(const std::exception& error) const;

    const std::string& GetName() const { return name_; }
    // Keeps the old name in PreviousName, then tells OnRename (which renames references to this
    // object), then reports the change.
    void SetName(const std::string& name);
    const std::string& GetPreviousName() const { return previousName_; }

    bool GetVisible() const { return visible_; }
    virtual void SetVisible(bool value);
    bool GetEnabled() const { return enabled_; }
    // Disabling also drops Pressed and UserSelected, so a disabled object holds no gesture.
    virtual void SetEnabled(bool value);
    int32_t GetLayer() const { return layer_; }
    void SetLayer(int32_t value);
    bool GetPopupEnabled() const { return popupEnabled_; }
    void SetPopupEnabled(bool value);
    bool GetUserCanEdit() const { return userCanEdit_; }
    void SetUserCanEdit(bool value);
    bool GetXYAxesReversed() const { return xyAxesReversed_; }
    virtual void SetXYAxesReversed(bool value);

    bool GetUserSelected() const { return userSelected_; }
    // Repaints at once; a newly selected object tells the plot (OnSetFocus) before its own
    // got-focus handling, so the others can drop their selection first.
    void SetUserSelected(bool value);

    bool GetPressed() const { return pressed_; }
    // Set by the paint pass's draw setup; a channel takes part in the painting only then.
    bool GetDrawReady() const { return drawReady_; }
    TShiftState GetShiftState() const { return shiftState_; }
    // Input state pushed by the component before each hit test; not a visible change.
    void SetShiftState(TShiftState value) { shiftState_ = value; }

    virtual void TriggerChange();
    virtual void TriggerLayoutChange();

    // Another object is leaving the plot or was renamed. The base keeps no reference to
    // anything, so it has nothing to do; kinds that refer to others override.
    virtual void NotificationRemove(TPlotObject& obj);
    virtual void NotificationRename(TPlotObject& obj);
    // Another object became selected. Selections are exclusive: the base deselects itself;
    // kinds that share the selection with some others override.
    virtual void NotificationSetFocus(TPlotObject& obj);

    // Input entry points, called by the component's mouse and key dispatch.
    virtual void iMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void iMouseMove(THintData& hint, TShiftState shift, int x, int y, bool dblClick);
    virtual void iMouseUp(TMouseButton button, TShiftState shift, int x, int y, bool dblClick);
    virtual bool iMouseHitTest(const TPlotMouseData& data);
    virtual bool iMouseWheel(int delta, TShiftState shift, int x, int y);
    virtual void iKeyDown(int& key, TShiftState shift);

    virtual void DoMouseHint(const TPlotMouseData& data, THintData& hint);
    virtual void DoMouseLeft(const TPlotMouseData& data);
    virtual void DoMouseMove(const TPlotMouseData& data);
    virtual void DoMouseUp(const TPlotMouseData& data);
    virtual void DoMouseDoubleClick(const TPlotMouseData& data);
    virtual void DoSetFocus();
    virtual void DoLostFocus();
    virtual void DoMouseNotOver();

    // The object under the point: the object itself here, a child in containers. Remembered, so
    // that GetMousePointer can ask that child.
    virtual TPlotObject* GetMouseObject(int x, int y);
    virtual TPlotCursor GetMousePointer(int x, int y);
    // Fills the plot's pop-up menu for a right press on the object. The base empties it and
    // offers the common "Edit..." when the user may edit the object.
    virtual void AddMenuItems(TPlotPopupMenu& menu);

    // The object is complete (created, properties set or read): it asks to join the plot.
    virtual void Loaded();

    // The freeing manager's last call before destruction: tells the plot the object is leaving
    // (OnRemove), then lets the layout close its place.
    void ReportRemoval();

protected:
    // The pattern of every published property's setter: a changed value is stored and reported,
    // an unchanged one reports nothing.
    template <class T, class V>
    void SetField(T& field, const V& value) {
        if (field == value) return;
        field = value;
        TriggerChange();
    }

    // The items every object's menu ends with: "Edit..." when the user may edit the object.
    void AddCommonMenuItems(TPlotPopupMenu& menu);
    TPlotMouseData MakeMouseData(TMouseButton button, TShiftState shift, int x, int y, bool dblClick) const;
    void SetPressed(bool value) { pressed_ = value; }
    // The paint pass's draw setup decides whether the object takes part in this paint.
    void SetDrawReady(bool value) { drawReady_ = value; }

private:
    TPlotComponent* owner_;
    std::string name_;
    std::string previousName_;
    TShiftState shiftState_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    int32_t layer_ = 100;
    bool popupEnabled_ = true;
    bool userSelected_ = false;
    bool userCanEdit_ = true;
    bool xyAxesReversed_ = false;
    bool drawReady_ = false;
    bool pressed_ = false;
    TPlotObject* mouseObject_ = nullptr;
    TPlotObjectEventSink* eventSink_ = nullptr;
};

// ---- TPlotManagerObject ------------------------------------------------------------------

// An object that lives in a per-kind manager. Throws EPlotError when the owner or a handler is
// missing ("Owner must be assigned", "OnChange event handler can not be null", ...).
class TPlotManagerObject : public TPlotObject {
public:
    TPlotManagerObject(TPlotComponent* owner, TPlotObjectEvents events);
};

// ---- TPlotLayoutObject -------------------------------------------------------------------

class TPlotLayoutObject : public TPlotManagerObject {
public:
    using TPlotManagerObject::TPlotManagerObject;

    double GetStartPercent() const { return startPercent_; }
    void SetStartPercent(double value);
    double GetStopPercent() const { return stopPercent_; }
    void SetStopPercent(double value);
    int32_t GetZOrder() const { return zOrder_; }
    void SetZOrder(int32_t value);
    bool GetHorizontal() const { return horizontal_; }
    void SetHorizontal(bool value);
    bool GetForceStacking() const { return forceStacking_; }
    void SetForceStacking(bool value);

    virtual bool GetIsHorz() const { return horizontal_; }
    virtual bool GetIsVert() const { return !horizontal_; }

    // What the layout asks of each object it places: the thickness across its side, and the
    // room to keep free beyond each end along it. Kinds that take no room answer 0.
    virtual int GetRequiredWidth(const TPlotTextMeasure& measure);
    virtual int GetRequiredLengthGaurd(const TPlotTextMeasure& measure);

    // Written by the layout; not changes of their own.
    bool GetReverseSide() const { return reverseSide_; }
    void SetReverseSide(bool value) { reverseSide_ = value; }
    const TPlotRect& GetDrawRect() const { return drawRect_; }
    void SetDrawRect(const TPlotRect& rect) { drawRect_ = rect; }
    bool GetStartStacked() const { return startStacked_; }
    void SetStartStacked(bool value) { startStacked_ = value; }
    bool GetStopStacked() const { return stopStacked_; }
    void SetStopStacked(bool value) { stopStacked_ = value; }
    const TPlotRect& GetLayoutRect() const { return layoutRect_; }
    void SetLayoutRect(const TPlotRect& rect) { layoutRect_ = rect; }

    int GetWidth() const { return drawRect_.Right - drawRect_.Left; }
    int GetHeight() const { return drawRect_.Bottom - drawRect_.Top; }

    bool iMouseHitTest(const TPlotMouseData& data) override;
    // Joins the plot, then asks the layout to find it a place.
    void Loaded() override;

private:
    double stopPercent_ = 100;
    double startPercent_ = 0;
    int32_t zOrder_ = 0;
    bool horizontal_ = false;
    bool reverseSide_ = false;
    TPlotRect drawRect_;
    bool startStacked_ = false;
    bool stopStacked_ = false;
    TPlotRect layoutRect_;
    bool forceStacking_ = false;
};

// ---- TPlotButton -------------------------------------------------------------------------

// A push button drawn by its container. A click is a press and a release inside the button.
// With AutoRepeat, holding it fires OnClick after 500 ms and then every 50 ms, on a timer of the
// plot's host (none without one).
class TPlotButton : public TPlotObject {
public:
    using TPlotButtonEvent = std::function<void(TPlotButton&)>;

    using TPlotObject::TPlotObject;

    TPlotButtonEvent OnClick;
    TPlotButtonEvent OnGroupClick;  // before OnClick when GroupIndex is not 0: unlatches the group
    TPlotButtonEvent OnInvalidate;
    TPlotButtonEvent OnDownChange;

    const TPlotRect& GetDrawRect() const { return drawRect_; }
    void SetDrawRect(const TPlotRect& rect) { drawRect_ = rect; }
    bool GetDown() const { return down_; }
    // Latched state: repaints, then tells the container.
    void SetDown(bool value);
    int32_t GetGroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int32_t value) { groupIndex_ = value; }
    bool GetAutoRepeat() const { return autoRepeat_; }
    void SetAutoRepeat(bool value) { autoRepeat_ = value; }
    // Disabling also ends a running repeat.
    void SetEnabled(bool value) override;

    bool iMouseHitTest(const TPlotMouseData& data) override { return drawRect_.Contains(data.X, data.Y); }
    void DoMouseLeft(const TPlotMouseData& data) override;
    // A release counts as a click only inside the button.
    void DoMouseUp(const TPlotMouseData& data) override;

private:
    void RepeatTick();

    TPlotRect drawRect_;
    bool down_ = false;
    int32_t groupIndex_ = 0;
    bool autoRepeat_ = false;
    std::unique_ptr<TPlotTimer> repeatTimer_;
    bool repeatStarted_ = false;  // the first tick switches from the delay to the rate
};

}  // namespace ondrix
