#pragma once
// Runs tasks on the thread that owns some objects. Worker threads post results here instead
// of touching those objects themselves; tasks run one at a time in the order posted.

#include <functional>

namespace ondrix {

class Executor {
public:
    virtual ~Executor() = default;
    // Thread-safe. The task runs later on the owner's thread, never inside Post.
    virtual void Post(std::function<void()> task) = 0;
};

}  // namespace ondrix
