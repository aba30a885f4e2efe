#pragma once
#include "main_window/main_window.hpp"

namespace zvkob {

// Windows asks whether the session may end: from now on nothing is started.
// Returns whether it may.
bool session_end_requested(MainWindow& window);

// Another program refused, so the session goes on: starting is allowed again.
void session_end_cancelled(MainWindow& window);

// The session ends: save exactly what the unload saves and stop every timer.
void session_ends(MainWindow& window);

}  // namespace zvkob
