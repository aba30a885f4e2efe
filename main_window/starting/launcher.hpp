#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "core/colours.hpp"
#include "main_window/main_window.hpp"
#include "guardian/flows/starting/start_check_events.hpp"

namespace zvkob {

enum class LaunchResult {
    started,
    failed,       // the user has been told why
    not_allowed,  // Windows is ending the session: nothing was touched
};

// Runs a node program's batch file hidden and freezes the window for three
// seconds, the indicator showing `during` (on screen for the whole pause),
// then `after`. Until the watcher looks again the program counts as starting.
// The history records who asked for the start, the command and the result.
// A command that cannot be started, or a batch file that has already ended
// with an error after the pause (its program is missing), is reported, naming
// the command and the reason, and the indicator goes back to rest.
LaunchResult launch_step(MainWindow& window, NodeProgram& program, StartRequest requester,
                         Colour during, Colour after);

// What an exit code of the command interpreter usually means.
std::string exit_code_meaning(unsigned long code);


// Whether the start rule lets LAUNCH start `program` with this answer of the
// data drive's check; says why not (asking, when space is short, whether to
// start anyway).
bool launch_allowed(MainWindow& window, const NodeProgram& program, const DriveCheck& drive);

// LAUNCH: starts the chosen program at once when at least one status shows
// stopped. It stops a running countdown but never arms auto-close.
void launch_click(MainWindow& window);

}  // namespace zvkob
