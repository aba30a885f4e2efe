#pragma once
#include "platform/command_runner.hpp"

namespace zvkob::win32 {

// Starts a command with its window hidden, a console program in a console of
// its own (as from the desktop), and does not wait for it. A
// command that is the full path of an existing file (a batch file) runs in
// the system's command interpreter by a line that keeps the path whole, with
// AutoRun off; any other command is started exactly as given. The process
// started is kept, so the window can later read whether and how it ended.
class HiddenCommandRunner : public CommandRunner {
public:
    Start run_hidden(std::string_view command_line,
                     NodePriority priority = NodePriority::normal) override;
};

}  // namespace zvkob::win32
