#pragma once
#include <chrono>
#include <cstdint>

#include "main_window/main_window.hpp"

namespace zvkob {

// Keep Node Running: while it is on, this copy's node that crashes is
// started again through the countdown. One that stopped cleanly (its own log
// shows the node's shutdown done line), stopped after a fatal error (it would
// meet the same error again), or that ZV-KOB or Windows stopped, is left
// stopped. A node that ran
// less than five minutes after a restart waits longer before the next one
// (one minute, then five, then fifteen); after five restarts within an hour
// ZV-KOB gives up and says why. Every decision goes into the history.

// This copy's node of `program` has gone. The decision acts (it may arm the
// countdown or show a message), so it waits for a message box that is open
// to close, and then decides on the node's state of then.
void node_gone(MainWindow& window, NodeProgram& program, const NodeGone& gone);

// LAUNCH or START by the user ends any back-off and pending restart.
void end_back_off(MainWindow& window);

// The countdown's zero step started a program: a restart, when Keep Node
// Running armed it.
void note_automatic_start(MainWindow& window);

// STOP is about to disarm the countdown.
void note_countdown_stopped(MainWindow& window);

// With Keep Node Running on, ZV-KOB stays open after an automatic start:
// Auto Close must not act.
bool auto_close_held(const MainWindow& window);

// The window menu's "Keep Node Running".
void keep_node_running_clicked(MainWindow& window);

}  // namespace zvkob
