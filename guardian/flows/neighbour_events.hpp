#pragma once
#include <span>
#include <string>

#include "guardian/engine/guardian_engine.hpp"
#include "platform/power_source.hpp"

namespace zvkob {

// A good neighbour on the PC, carried out: the battery stop and the
// mains restart (the rules are power_guard.hpp's; where they meet the other
// features, guardian/engine/power_meeting.hpp decides and this carries its
// answer out), Keep the PC Awake on battery (node_care.cpp asks
// on_battery()), and their tooltip line; the node's low priority
// (node_priority_guard.hpp). Keep Node Running does not restart a node
// ZV-KOB stopped for power: the node's life says it stopped as asked, which
// Keep Node Running leaves alone.

// "Stop Node Before the Battery Runs Out" was switched: switched on, the
// power source is read at once.
void battery_stop_tick_changed(GuardianEngine& engine);

// The battery stop's request could not be asked, at once or after the
// node's RPC refused it (the history says why): told by the history and a
// quiet notice, and asked again at the next reading.
void battery_stop_failed(GuardianEngine& engine);

// On the watcher's tick: reads the power source when a reading is due, and
// sets the node's priority as soon as the node is held.
void neighbour_tick(GuardianEngine& engine);

// "Run the Node at Low Priority" was switched: applied to a running node
// this copy started at once; cleared, the node's priority is restored. An
// adopted node is left as it is.
void low_priority_tick_changed(GuardianEngine& engine);

// Windows' power broadcast: the power source is read at once on a change and
// on waking; going to sleep is only noted.
void power_broadcast(GuardianEngine& engine, const PowerEvent& event);

// A reading of the node's log: the lines that tell its stop time.
void node_log_read(GuardianEngine& engine, std::span<const std::string> stop_lines);

// This copy's node of `program` has gone (its life has taken the end).
void power_node_gone(GuardianEngine& engine, const GuardedProgram& program);

// The battery's line of `program`'s status label tooltip, or "".
std::string power_tooltip(const GuardianEngine& engine, const GuardedProgram& program);

}  // namespace zvkob
