#pragma once
#include "main_window/main_window.hpp"

namespace zvkob {

// The highest level an application may take: Windows asks ZV-KOB whether
// the session may end before the node, which starts at 0x280, so the hold
// comes before the node is told to end.
inline constexpr unsigned first_asked_shutdown_level = 0x3FF;

// Windows asks whether the session may end: from now on nothing is started.
// Returns whether it may. With "Stop Node Safely at Sign-out" ticked and the
// node running, the end is held (Windows shows why) and the node is asked to
// stop; once it has, or after ten minutes, ZV-KOB lets go and closes.
bool session_end_requested(MainWindow& window);

// Another program refused, so the session goes on: starting is allowed again.
void session_end_cancelled(MainWindow& window);

// The session ends (the user may have chosen "Shut down anyway"): save
// exactly what the unload saves and stop every timer, at once.
void session_ends(MainWindow& window);

// Windows has decided: the session ends now (`ends`: the settings are saved
// and the history written before Windows ends the process), or goes on.
void session_end_decided(MainWindow& window, bool ends);

// Twice a second while the end is held: once the node has stopped, or after
// ten minutes at most, lets Windows go on and closes ZV-KOB.
void end_the_hold_when_due(MainWindow& window);

}  // namespace zvkob
