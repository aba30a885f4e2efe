#pragma once
#include "guardian/engine/guardian_engine.hpp"

namespace zvkob {

// The node at a glance: while "Show the Node's Progress" is ticked and this
// copy's node runs, every two seconds the worker reads what the node added
// to its own log, and the status label's tooltip, the taskbar button and the
// history say how far it is: starting, catching up, synced, stuck, stopping,
// or in need of attention.
void node_progress_tick(GuardianEngine& engine);

// Twice a second, with the watcher: while the node's progress is shown and
// its log is followed, asks the node's own RPC when it is due (every five
// seconds, less often while it fails; never while a poll is on its way), on
// the worker. Its answers and the log's reading make one state of the node
// (merged_node_state says which decides what) for the tooltip, the taskbar
// button, Keep the PC Awake and the history; the tooltip says which source
// it comes from, and why not the RPC.
void ask_the_node_when_due(GuardianEngine& engine);

// The PC woke from sleep after `away_ms`: the history says so, the node is
// asked again at once, and the log's quiet until now is not held against it.
// The tip's age decides at once whether the node catches up.
void pc_woke(GuardianEngine& engine, std::int64_t away_ms);

// Windows says the PC resumed from sleep or hibernation (it says so twice):
// unless the watcher's gap told this wake already, the node at a glance
// hears of it (pc_woke), then the node is asked.
void power_resumed(GuardianEngine& engine);

// "Show the Node's Progress" was switched: cleared, what was followed is forgotten.
void show_progress_tick_changed(GuardianEngine& engine);

}  // namespace zvkob
