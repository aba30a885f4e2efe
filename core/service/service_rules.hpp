#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "core/power/node_stop_time.hpp"

namespace zvkob {

// The service that starts this copy's node before anyone signs in: one per
// copy and account, so that two users' copies of one file never share one.
// "ZV-KOB <instance name> (<user name>)".
std::string service_name(std::string_view instance, std::string_view user_name);

// How long Windows waits at shut-down for the service to stop the node: twice
// its expected stop and a minute (as the battery stop's margin), never less
// than three minutes nor more than twenty. Windows' own default is 10 s, and
// its wait is a hard limit that no checkpoint extends.
inline constexpr std::int64_t shortest_shutdown_wait_ms = 3 * 60'000;
inline constexpr std::int64_t longest_shutdown_wait_ms = 20 * 60'000;
std::int64_t shutdown_wait_ms(const ExpectedStop& stop);

// What the service manager starts: this very program file, quoted (a path
// with a space is otherwise read up to its first space), as the service.
std::string service_command_line(std::string_view program_path);

// The node's command the service starts, read from the batch file the user
// saved: its node line without "call", for the service starts the node with
// no console, so no interpreter. A batch file that does more than start the
// node (sets a variable, changes folder, runs a second command) is refused:
// run without it, the node would not be what the user set up.
struct ServiceNodeCommand {
    std::string command_line;  // empty when refused
    std::string refusal;       // why, in the user's words
    std::string node_line;     // the batch file's line it comes from
};
ServiceNodeCommand service_node_command(std::string_view batch_text, std::string_view image);

}  // namespace zvkob
