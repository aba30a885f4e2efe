#pragma once
#include "main_window/main_window.hpp"

namespace zvkob {

// Ten seconds after an automatic launch, and every ten seconds while the
// timer stays on: with "Auto Close" ticked, closes the main window (saving
// its settings) once a node program is seen running, or gives up when none runs.
void auto_close_tick(MainWindow& window);

// "Auto Start" gates "Auto Close": clearing it also clears and locks "Auto Close".
void autostart_rule(MainWindow& window);

}  // namespace zvkob
