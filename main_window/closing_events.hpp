#pragma once
#include "main_window/main_window.hpp"

namespace zvkob {

// Settings: shows the settings window modally unless it is open already. An
// opening that fails leaves it openable again. A close of the main window
// asked for while it was open follows once it has closed.
void settings_click(MainWindow& window);

// Auto-close closes ZV-KOB. With the settings window open, that window
// closes first, and auto-close decides again once it has gone.
void request_auto_close(MainWindow& window);

// Closes ZV-KOB as a user's close does (the settings window first, when open).
void request_close(MainWindow& window);

// The unload a close runs: saves the settings, and says what could not be
// saved unless Windows is ending the session (nobody would read it then).
void unload_for_close(MainWindow& window);

// The user, Windows or another program asks the main window to close.
// Returns whether it may close now; with the settings window open, that
// window is asked to close first and the main window follows it.
bool main_may_close_now(MainWindow& window);

}  // namespace zvkob
