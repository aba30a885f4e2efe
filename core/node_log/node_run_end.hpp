#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/node_log/node_log_signs.hpp"

namespace zvkob {

// How the node's latest run ends, as its lines tell: where its shutdown began
// and finished, and the errors that count.
//
// A sign of a stop counts wherever it stands. An error-level line counts only
// where the run ends on it: no normal progress follows it, and the shutdown,
// if one began after it, began right after it (with nothing but other errors
// between). A line without a time right after an error's line is the rest of
// that error's message.
struct RunEnd {
    std::optional<std::size_t> last_in_progress;  // the last line where its shutdown began
    std::optional<std::size_t> done;              // the first done line after that
    std::vector<std::size_t> errors;              // the lines of the errors that count
    TroubleKind trouble = TroubleKind::other;     // the most pressing of theirs
    std::optional<std::size_t> deciding_error;    // the first line of that kind
    std::string node_advice;                      // the rest of a start failure's message
};

RunEnd read_run_end(const std::vector<std::string>& lines);

}  // namespace zvkob
