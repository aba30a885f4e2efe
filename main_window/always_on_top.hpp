#pragma once
#include "core/controls.hpp"
#include "platform/window_manager.hpp"

namespace zvkob {

// Once a second while Always On Top is on: when another window has the
// user's input, put the main window in the topmost band, above it. The other
// window is never changed: a window its own user pinned on top stays pinned.
void always_on_top_tick(WindowManager& windows);

// Switches the always-on-top timer (`lift`). Switching it off also takes the
// main window out of the topmost band, so it stops covering other windows at once.
void switch_always_on_top(WindowManager& windows, Timer& lift, bool on);

}  // namespace zvkob
