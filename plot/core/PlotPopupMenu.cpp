#include "plot/core/PlotPopupMenu.h"

#include <utility>

namespace ondrix {

TPlotMenuItem& TPlotMenuItem::Add(std::string caption, std::function<void()> onClick) {
    TPlotMenuItem item;
    item.Caption = std::move(caption);
    item.OnClick = std::move(onClick);
    Items.push_back(std::move(item));
    return Items.back();
}

TPlotMenuItem* TPlotMenuItem::Find(const std::string& caption) {
    for (TPlotMenuItem& item : Items)
        if (item.Caption == caption) return &item;
    return nullptr;
}

}  // namespace ondrix
