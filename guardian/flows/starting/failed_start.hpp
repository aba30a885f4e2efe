#pragma once
#include <string>

#include "guardian/engine/node_gone_meeting.hpp"
#include "guardian/node/node_log.hpp"
#include "guardian/engine/guardian_engine.hpp"

namespace zvkob {

// A start that failed at once (the node ended during or right after the
// pause after its start) is explained by the node's own log: what it wrote
// since this start is read as after any stop, on the worker. Where it shows
// the error that ended the node, its line and what helps are told in the
// history (after the start's own line, which stays as it was), in the status
// label's tooltip until the next start, in a notice and in a message that
// begins with `opening`; Keep Node Running leaves the node stopped. Where the
// log tells nothing, a message begun with `opening` tells what to check
// instead (none when `opening` is empty: the start's own line has said it).
void explain_failed_start(GuardianEngine& engine, GuardedProgram& program, const StoppedNode& node,
                          std::string opening);

// The paragraph that explains the failure in a message: the node's line
// without its time, then what usually helps.
std::string failed_start_paragraph(const NodeStop& stop);

}  // namespace zvkob
