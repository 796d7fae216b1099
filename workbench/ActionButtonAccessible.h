#pragma once
// What an assistive tool may do with a tool button that shows an action: press it, or, when it
// latches, toggle it; both click it, so the button runs its command exactly as under the mouse.
// Qt's own interface toggles a latching button's down state without triggering its action,
// which shows a mode the program is not in and runs nothing.
//
// Threads: GUI thread only.

namespace ondrix {

// Puts the interface in place for every tool button with an action; once is enough, more
// calls change nothing.
void InstallActionButtonAccessibility();

}  // namespace ondrix
