#pragma once
#include <string>
#include <string_view>

#include "core/node_log/node_log_line.hpp"

namespace zvkob {

// What a line of the node's log tells of trouble.
enum class ErrorWeight {
    none,
    // An error-level line ("[error]", "Error: "): current nodes write them for
    // things a peer causes too, so one counts only where the run ends on it.
    soft,
    // A sign of a stop wherever it stands: "*** ", a fatal internal error, the
    // database and disk-space failures, an assertion, a start that failed.
    hard,
};

ErrorWeight error_weight(const LogLine& line);

// What kind of trouble an error line tells of, most pressing first: where
// lines of several kinds end a run, the first kind decides the advice.
enum class TroubleKind {
    disk_full,       // a write failed on a full disk
    failing_device,  // the drive itself reports errors
    disk_low,        // the node stopped itself for lack of free space
    damaged_block,   // a block file cannot be read back
    corruption,      // its database is damaged
    start_failure,   // it could not open its database at start
    other,
    thread_stopped,  // a thread of the running node ended on an exception: no line names it
};

TroubleKind trouble_kind(std::string_view message);

// What usually helps after that trouble. `node_advice` is what the node
// itself advised after a start that failed (its line without a time), if any.
std::string advice_for(TroubleKind kind, std::string_view node_advice);

// The node's own warning told by a line that is not an UpdateTip line, or
// empty: unknown rules, blocks of an unexpected version, an obsolete version.
std::string_view standalone_warning(std::string_view message);

// "Flushing large (5 GiB) UTXO set to disk, it may take several minutes": the
// node will be quiet for a while, and is not stuck.
bool announces_long_flush(std::string_view message);

}  // namespace zvkob
