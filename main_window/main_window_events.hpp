#pragma once
#include "main_window/main_window.hpp"

namespace zvkob {

// Connects every click, tick rule and timer of the main window to its handler.
void wire_main_window_events(MainWindow& window);

}  // namespace zvkob
