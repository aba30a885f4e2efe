#pragma once
#include "main_window/main_window.hpp"

namespace zvkob {

// Once a second while Always On Top is on: when another window has the
// user's input, put the main window in the topmost band, above it. The other
// window is never changed: a window its own user pinned on top stays pinned.
void always_on_top_tick(MainWindow& window);

// Switches the always-on-top timer. Switching it off also takes the main
// window out of the topmost band, so it stops covering other windows at once.
void switch_always_on_top(MainWindow& window, bool on);

}  // namespace zvkob
