#pragma once
// Runs an undo step on every way out of a scope, errors included: unlocks, restores of a
// canvas's state, settings switched for the length of one paint.

#include <utility>

namespace ondrix {

template <class Undo>
class TScopeExit {
public:
    explicit TScopeExit(Undo undo) : undo_(std::move(undo)) {}
    ~TScopeExit() { undo_(); }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

private:
    Undo undo_;
};

}  // namespace ondrix
