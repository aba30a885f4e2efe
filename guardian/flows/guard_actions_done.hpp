#pragma once
#include "guardian/engine/guard_actions.hpp"
#include "guardian/engine/guardian_engine.hpp"

namespace zvkob {

// Carries out what the guardian answered, in its order. A stop of the node
// goes the Stop Node way; one that could not be asked is told back to the
// guardian, whose answer is carried out in turn.
void carry_out(GuardianEngine& engine, const GuardActions& actions);

// The countdown is ended (STOP, or a stop the user or Windows asked for):
// Keep Node Running notes a restart it armed as cancelled, then the host
// disarms the countdown.
void cancel_the_countdown(GuardianEngine& engine);

}  // namespace zvkob
