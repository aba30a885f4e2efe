#pragma once
#include "main_window/main_window.hpp"

namespace zvkob {

// The node at a glance: while "Show the Node's Progress" is ticked and this
// copy's node runs, every two seconds the worker reads what the node added
// to its own log, and the status label's tooltip, the taskbar button and the
// history say how far it is: starting, catching up, synced, stuck, stopping,
// or in need of attention. Nothing needs the node's RPC password.
void node_progress_tick(MainWindow& window);

// The window menu's "Show the Node's Progress".
void show_progress_clicked(MainWindow& window);

}  // namespace zvkob
