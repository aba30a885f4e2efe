#pragma once
#include <cstdint>
#include <optional>

#include "guardian/engine/guardian_engine.hpp"

namespace zvkob {

// What one look of the watcher made of a program: whether the process query
// answered (its status label shows the answer), and how this copy's node of
// it went, when it has gone.
struct ProgramWatched {
    bool answered = false;
    std::optional<NodeGone> gone;
};

// One program's state now, asked of the process query, its changes told to
// the history.
ProgramWatched watch_program(GuardianEngine& engine, GuardedProgram& program);

// The history says once when the process query starts failing, and once when
// it answers again.
void note_query(GuardianEngine& engine);

// A console node stopped by Ctrl+C leaves its batch file's interpreter
// waiting on a console nobody sees; it is ended once the node has exited.
void end_left_interpreter(GuardianEngine& engine, const GuardedProgram& program,
                          const NodeGone& gone);

// Another copy of ZV-KOB asks whether `process_id` is this copy's node: the
// mark of this copy's data folder when it is (see folder_mark), else nothing.
std::optional<std::uint32_t> node_claim(GuardianEngine& engine, unsigned long process_id);

}  // namespace zvkob
