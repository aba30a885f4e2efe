#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "guardian/engine/guard_actions.hpp"
#include "guardian/node/node_life.hpp"
#include "guardian/power/power_guard.hpp"

namespace zvkob {

// What the battery stop sees of the window and the node at a reading.
struct PowerScene {
    bool ticked = false;  // Stop Node Before the Battery Runs Out
    // This copy's node that runs (the chosen program's first), or none.
    std::string_view node_program;
    NodeStage node_stage = NodeStage::not_running;
    bool synced = false;  // its state shown is synced
    // The program ticked to start, or "" for none.
    std::string_view chosen_program;
    // For whom the countdown runs, while it runs.
    std::optional<StartRequest> countdown_for;
};

// Where the battery stop meets the other features, decided in one place:
// - the stop goes the way Stop Node goes, asked of the node that runs;
// - a mains restart the countdown holds that has not started the node yet
//   is called off as soon as a reading says battery, and owed again (never
//   started on a battery that would stop it at once);
// - the mains restart starts only the program it stopped, while it is still
//   the one chosen, and only where no countdown runs already (START's, Keep
//   Node Running's, which start the node themselves);
// - a stop that could not be asked is told by the history and a quiet
//   notice, never a box (nobody may be at the PC), and asked again at the
//   next reading that calls for it.

// Reads the power source now and answers what to do.
GuardActions power_reading(PowerGuard& battery, const PowerScene& scene, std::int64_t now_ms);

// The tick was switched: off, a mains restart the countdown holds goes with
// it; either way the source is read at once.
GuardActions battery_stop_switched(PowerGuard& battery, const PowerScene& scene,
                                   std::int64_t now_ms);

// The stop asked by a reading could not be asked (the history says why).
GuardActions battery_stop_not_asked(PowerGuard& battery);

}  // namespace zvkob
