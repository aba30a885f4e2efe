#pragma once
#include "core/care/help_report.hpp"
#include "guardian/engine/guardian_engine.hpp"

namespace zvkob {

// "Copy a Report for Help" for `program`'s node, with what the window shows
// in `facts`: the worker reads the node's log and the history and writes the
// report beside the history (report_path, replaced each time); then it is
// put on the clipboard and the user told where it is. Where the clipboard is
// busy, the file alone; the message says so.
void copy_report(GuardianEngine& engine, const GuardedProgram& program, HelpReportFacts facts);

}  // namespace zvkob
