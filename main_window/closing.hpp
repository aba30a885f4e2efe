#pragma once
#include "main_window/main_window.hpp"

namespace zvkob {

// Settings: shows the settings window modally unless it is open already. An
// opening that fails leaves it openable again. A close of the main window
// asked for while it was open happens once it has closed.
void settings_click(MainWindow& window);

// Auto-close: closes the main window, the settings window first when it is open.
void request_main_close(MainWindow& window);

// The user, another program or auto-close asks the main window to close.
// Returns whether it may close now; with the settings window open, that
// window is asked to close first and the main window follows it.
bool main_may_close_now(MainWindow& window);

}  // namespace zvkob
