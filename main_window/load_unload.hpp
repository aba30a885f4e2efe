#pragma once
#include "core/outcome.hpp"
#include "main_window/main_window.hpp"

namespace zvkob {

// Restores the window from the store, arms its timers and settles its launch
// mode; with "Auto Start" and a launch mode stored it arms the countdown.
void load_main_window(MainWindow& window);

// Saves the window's settings. Every one is attempted; the outcome names
// those that could not be saved.
Outcome unload_main_window(MainWindow& window);

}  // namespace zvkob
