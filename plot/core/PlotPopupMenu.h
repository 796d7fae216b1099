#pragma once
// The plot's own pop-up menu, as a model: objects fill it with their items on a right press and
// the window host shows it as a real menu at the pointer. Items run their click handler on the
// GUI thread after the menu has closed.

#include <functional>
#include <string>
#include <vector>

namespace ondrix {

struct TPlotMenuItem {
    std::string Caption;
    bool Checked = false;
    bool Enabled = true;
    bool Visible = true;
    std::function<void()> OnClick;
    // Not empty: the item opens this submenu and has no click of its own.
    std::vector<TPlotMenuItem> Items;

    TPlotMenuItem& Add(std::string caption, std::function<void()> onClick = {});
    // The first item of this level with the caption, or null.
    TPlotMenuItem* Find(const std::string& caption);
};

class TPlotPopupMenu {
public:
    void Clear() { root_.Items.clear(); }
    TPlotMenuItem& Add(std::string caption, std::function<void()> onClick = {}) {
        return root_.Add(std::move(caption), std::move(onClick));
    }
    TPlotMenuItem* Find(const std::string& caption) { return root_.Find(caption); }
    const std::vector<TPlotMenuItem>& Items() const { return root_.Items; }
    bool Empty() const { return root_.Items.empty(); }

private:
    TPlotMenuItem root_;
};

}  // namespace ondrix
