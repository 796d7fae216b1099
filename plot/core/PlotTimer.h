#pragma once
// A repeating timer of the window host, for objects that need one of their own (a button's
// auto-repeat). The host makes them through a factory it installs on the component; each tick
// runs on the GUI thread. Destroying a timer stops it.

#include <functional>
#include <memory>

namespace ondrix {

class TPlotTimer {
public:
    virtual ~TPlotTimer() = default;
    // (Re)starts with the interval; the first tick comes one interval from now.
    virtual void Start(int intervalMs) = 0;
    virtual void Stop() = 0;
};

using TPlotTimerFactory = std::function<std::unique_ptr<TPlotTimer>(std::function<void()> onTick)>;

}  // namespace ondrix
