#pragma once
#include <cstdint>

#include "core/care/keep_awake.hpp"
#include "guardian/guardian.hpp"

namespace zvkob {

// Where Keep the PC Awake meets the others, decided in one place: the PC is
// let go while on battery (the battery stop's last reading), as ZV-KOB
// closes and as Windows ends the session (the sign-out hold); while the node
// can make no progress (stuck, its network paused) the PC may sleep (the
// node's one state, keep_awake.hpp).
void follow_pc_awake(Guardian& guardian, AwakeFacts facts, std::int64_t now_ms);

// The user's own start (LAUNCH, START) makes the node the user's again:
// Keep Node Running ends its back-off, and the battery stop forgets a stop
// of its own, so mains power never starts a node after the user's choice.
void users_start(Guardian& guardian);

}  // namespace zvkob
