#pragma once
#include "main_window/main_window.hpp"

namespace zvkob {

// The node at a glance: while "Show the Node's Progress" is ticked and this
// copy's node runs, every two seconds the worker reads what the node added
// to its own log, and the status label's tooltip, the taskbar button and the
// history say how far it is: starting, catching up, synced, stuck, stopping,
// or in need of attention.
void node_progress_tick(MainWindow& window);

// Twice a second, with the watcher: while the node's progress is shown and
// its log is followed, asks the node's own RPC when it is due (every five
// seconds, less often while it fails; never while a poll is on its way), on
// the worker. While it answers, its state takes the place of the log's in
// the tooltip, on the taskbar button and in the history; the tooltip says
// which it shows, and why not the RPC.
void ask_the_node_when_due(MainWindow& window);

// The window menu's "Show the Node's Progress".
void show_progress_clicked(MainWindow& window);

}  // namespace zvkob
