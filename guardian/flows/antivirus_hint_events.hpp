#pragma once
#include <string>

#include "guardian/engine/guardian_engine.hpp"

namespace zvkob {

// The antivirus hint (guardian/care/antivirus_hint.hpp) on the window's side.

// Every two seconds, with the node's progress: while it is shown and this
// copy's node runs, the worker looks at its block files until it knows them.
void antivirus_hint_tick(GuardianEngine& engine);

// The status label's line for `program`'s node, or "".
std::string antivirus_hint_line(const GuardianEngine& engine, const GuardedProgram& program);

}  // namespace zvkob
