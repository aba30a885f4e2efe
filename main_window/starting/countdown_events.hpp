#pragma once
#include <chrono>
#include <string>

#include "main_window/main_window.hpp"

namespace zvkob {

// Arms the countdown at eleven seconds plus `wait_ms`, to start the chosen
// program for `requester`, locking the controls that could change what is
// about to start; disarming unlocks them.
void arm_countdown(MainWindow& window, std::chrono::milliseconds wait, StartRequest requester);
void disarm_countdown(MainWindow& window);

// With no program chosen there is nothing to count down to: "START", the
// countdown off, "Auto Start" and "Auto Close" locked, both choices open.
void settle_with_nothing_chosen(MainWindow& window);

// Locks (or unlocks) the six controls that could change what an armed
// countdown is about to start. Only enabled states change, never a tick, so
// no rule runs.
void lock_for_countdown(MainWindow& window, bool locked);

// Once a second while armed: one second less, shown; at "00" the zero step
// launches the chosen program when both programs are stopped.
void countdown_tick(MainWindow& window);

}  // namespace zvkob
