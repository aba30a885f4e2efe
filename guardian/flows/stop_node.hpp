#pragma once
#include <string_view>

#include "core/outcome.hpp"
#include "guardian/flows/node_state_now.hpp"

namespace zvkob {

// Stopping the node of this copy the way it handles itself, never by
// killing it: `stop` over its RPC while it answers there past its warm-up
// (on the worker; should the node not take it, the other way follows), else
// Ctrl+C on the console of the DAEMON program, a close to the windows of the
// QT program. Keep Node Running leaves a stop it asked for.

// Asks `program`'s node to stop, for `asker` ("Stop Node", "The end of the
// Windows session"). A countdown that would start it again is ended. Fails,
// saying why, when this copy has no node of it or the request cannot be made.
Outcome ask_node_to_stop(GuardianEngine& engine, GuardedProgram& program, std::string_view asker);

// The window menu's "Stop Node...".
void stop_node_clicked(GuardianEngine& engine);

// Twice a second, beside a message box too: a node asked to stop that still
// runs a minute later is told about, once per request.
void follow_node_stops(GuardianEngine& engine);

}  // namespace zvkob
