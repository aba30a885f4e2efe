#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "guardian/engine/guardian_engine.hpp"

namespace zvkob {

// Care while the node syncs and runs, carried out: the PC kept
// awake while the node catches up, the runway of the node's drive, and the
// node's warnings.

// Every two seconds, after the node at a glance: holds the PC awake or lets
// it sleep, looks at the node's drive when a look is due, and asks the node
// for its wallets (wallet_backup_events.hpp).
void care_tick(GuardianEngine& engine);

// "Keep the PC Awake While Catching Up" was switched: followed at once.
void keep_awake_tick_changed(GuardianEngine& engine);

// ZV-KOB closes, whichever way: the PC may sleep again.
void let_the_pc_sleep(GuardianEngine& engine);

// What the node's RPC tells of its size: its size_on_disk when it told one,
// and whether it is pruned (a pruned node has no runway).
void node_size_heard(GuardianEngine& engine, std::optional<std::uint64_t> size_on_disk,
                     bool pruned);

// A warning of the node, from its log or its RPC: a quiet notice and a
// history line, once per run of the node.
void node_warned(GuardianEngine& engine, std::string_view warning);

// The status label's lines of care for `program`'s node: "Disk full in
// about 12 days", the wallet backup's reminder.
std::string care_tooltip(const GuardianEngine& engine, const GuardedProgram& program);

}  // namespace zvkob
