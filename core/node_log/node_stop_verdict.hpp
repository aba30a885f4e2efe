#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/node_log/node_log_session.hpp"

namespace zvkob {

// How the node stopped, as its log and its exit code tell it.
enum class HowItStopped {
    clean,        // it finished its shut-down
    after_error,  // a fatal error stopped it, or it finished with an error code
    cut_short,    // it was asked to stop and ended before it finished
    crash,        // it was ended without being asked to stop (killed, crashed)
    no_log,       // no log to tell, but it exited with code 0
};

struct NodeStop {
    HowItStopped how = HowItStopped::no_log;
    std::string why;                      // in words, naming the log ZV-KOB read
    std::string fatal_line;               // the error line that tells what stopped it
    std::string hint;                     // what usually helps after that error
    std::vector<std::string> last_lines;  // the session's last lines, to show
};

inline constexpr std::size_t stop_lines_shown = 10;
inline constexpr std::size_t stop_line_characters = 200;

// The verdict on the latest session of the log at `log_path`. A node that
// finished its shut-down writes a done line after its last in-progress line;
// after a fatal error it writes them too, but since version 26 exits with 1.
// The errors that count, and the advice their kind calls for, are read_run_end's.
// A log that could not be read or holds nothing leaves the exit code alone to
// decide, as stop_without_log does.
NodeStop node_stop_verdict(std::string_view log_path, const LogSession& session,
                           std::optional<unsigned long> exit_code);

// The verdict when there is no log to read, `reason` saying why: only an exit
// code of 0 tells that the node stopped of itself; anything else is a crash.
NodeStop stop_without_log(std::string_view reason, std::optional<unsigned long> exit_code);

}  // namespace zvkob
