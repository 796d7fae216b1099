#pragma once
// A reference from one plot object to another by name, as channels refer to their axes, data
// views to their grid axes and data cursors to their channel. The object found is cached; the
// owner passes on the plot's remove and rename notifications, so the cache never outlives the
// object and the name follows a rename.
//
// Lookups and notifications need the complete kinds, so use it in .cpp files that include
// plot/PlotComponent.h.

#include <string>

#include "plot/objects/PlotObjects.h"

namespace ondrix {

template <class Kind>
class TPlotObjectReference {
public:
    using Lookup = Kind* (TPlotComponent::*)(const std::string&) const;

    explicit TPlotObjectReference(Lookup lookup) : lookup_(lookup) {}

    const std::string& Name() const { return name_; }
    // False when the name is unchanged; a new name drops the cache, so the next Get looks again.
    bool SetName(const std::string& name) {
        if (name == name_) return false;
        name_ = name;
        cached_ = nullptr;
        return true;
    }
    // The object bearing the name, or null when the plot has none.
    Kind* Get(const TPlotComponent& plot) {
        if (cached_ == nullptr) cached_ = (plot.*lookup_)(name_);
        return cached_;
    }
    void NotificationRemove(const TPlotObject& removed) {
        if (cached_ != nullptr && &removed == static_cast<const TPlotObject*>(cached_)) cached_ = nullptr;
    }
    // Stores the new name without a change report of its own: the rename reported one already.
    void NotificationRename(TPlotObject& renamed) {
        if (dynamic_cast<Kind*>(&renamed) != nullptr && ReferenceFollowsRename(cached_, name_, renamed))
            name_ = renamed.GetName();
    }

private:
    Lookup lookup_;
    std::string name_;
    Kind* cached_ = nullptr;
};

}  // namespace ondrix
