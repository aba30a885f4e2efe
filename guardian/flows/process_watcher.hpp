#pragma once
#include <cstdint>
#include <optional>

#include "main_window/event_order.hpp"
#include "main_window/main_window.hpp"

namespace zvkob {

// One program's state now, asked of the process query and shown, its
// changes told to the history. Returns how this copy's node of it went, when
// it has gone.
std::optional<NodeGone> watch_program(MainWindow& window, NodeProgram& program);

// The history says once when the process query starts failing, and once when
// it answers again.
void note_query(MainWindow& window);

// A console node stopped by Ctrl+C leaves its batch file's interpreter
// waiting on a console nobody sees; it is ended once the node has exited.
void end_left_interpreter(MainWindow& window, const NodeProgram& program, const NodeGone& gone);

// Another copy of ZV-KOB asks whether `process_id` is this copy's node: the
// mark of this copy's data folder when it is (see folder_mark), else nothing.
std::optional<std::uint32_t> node_claim(MainWindow& window, unsigned long process_id);

}  // namespace zvkob
