#pragma once
#include <cstdint>

#include "core/care/keep_awake.hpp"

namespace zvkob {

inline constexpr const char* awake_on_battery_event =
    "ZV-KOB lets the PC sleep again: the PC runs on battery.";

// Keep the PC Awake While Catching Up, told the power source: on battery it
// lets go (a PC kept awake drains the battery the node needs for its clean
// stop, and Windows' own battery settings should decide), and on mains it
// takes hold again while the node still needs it.
//
// It asks the keep-awake rules as if their tick were off while on battery,
// so every rule of theirs holds: the hold is let go once and told once (in
// these words), a refused hold is not told, the ten minutes of unknown state
// start afresh. Back on mains, their next update holds as at any start.
AwakeStep keep_awake_on_power(KeepAwake& rules, AwakeFacts facts, bool on_battery,
                              std::int64_t now_ms);

}  // namespace zvkob
