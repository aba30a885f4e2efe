#pragma once
#include <string>
#include <string_view>

#include "core/colours.hpp"
#include "main_window/main_window.hpp"

namespace zvkob {

enum class LaunchResult {
    started,
    failed,       // the user has been told why
    not_allowed,  // Windows is ending the session: nothing was touched
};

// Runs a node program's batch command hidden and freezes the window for three
// seconds, the indicator showing `during` (on screen for the whole pause),
// then `after`. A command that cannot be started is reported, naming the
// command and the system's reason, and the indicator goes back to rest.
LaunchResult launch_step(MainWindow& window, std::string_view program, std::string command,
                         Colour during, Colour after);

// LAUNCH: starts the chosen program at once when at least one status shows
// stopped. It stops a running countdown but never arms auto-close.
void launch_click(MainWindow& window);

}  // namespace zvkob
