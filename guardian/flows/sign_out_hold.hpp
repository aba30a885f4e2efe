#pragma once
#include "guardian/engine/guardian_engine.hpp"

namespace zvkob {

// "Stop Node Safely at Sign-out": the end of the Windows session held while
// this copy's node stops.

// Windows asks whether the session may end: from now on nothing is started.
// Returns whether it may. With the tick on and the node running, the end is
// held and the node is asked to stop.
bool hold_the_session_end(GuardianEngine& engine);

// Another program refused, so the session goes on: starting is allowed again.
void session_goes_on(GuardianEngine& engine);

// The session ends now, whether or not the node has stopped.
void session_ends_now(GuardianEngine& engine);

// Twice a second while the end is held: once the node has stopped, or after
// ten minutes at most, the hold lets go. Returns whether it let go now.
bool let_go_when_due(GuardianEngine& engine);

}  // namespace zvkob
