#pragma once
#include <string_view>

#include "core/outcome.hpp"
#include "main_window/main_window.hpp"

namespace zvkob {

// Stopping the node of this copy the way it handles itself, never by
// killing it: Ctrl+C on the console of the DAEMON program, a close to the
// windows of the QT program. Keep Node Running leaves a stop it asked for.

// The program to stop: the chosen one when it runs, else whichever runs.
NodeProgram* running_node_program(MainWindow& window);

// Asks `program`'s node to stop, for `asker` ("Stop Node", "The end of the
// Windows session"). Fails, saying why, when its process cannot be told from
// another copy's or the request cannot be made.
Outcome ask_node_to_stop(MainWindow& window, NodeProgram& program, std::string_view asker);

// The window menu's "Stop Node...".
void stop_node_clicked(MainWindow& window);

// Twice a second, after the watcher: how long the node has been stopping,
// and when it stopped.
void follow_node_stop(MainWindow& window);

}  // namespace zvkob
