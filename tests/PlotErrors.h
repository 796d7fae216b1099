#pragma once
// The message of the plot error an action raises, or "<no error>", so a table of cases can
// compare messages directly.

#include <functional>
#include <string>

#include "plot/core/PlotTypes.h"

namespace ondrix::test {

inline std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EPlotError& e) {
        return e.what();
    }
    return "<no error>";
}

}  // namespace ondrix::test
