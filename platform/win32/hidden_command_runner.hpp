#pragma once
#include "platform/command_runner.hpp"

namespace zvkob::win32 {

// Starts the command line exactly as given (a batch file runs in the command
// interpreter) with its window hidden, and does not wait for it.
class HiddenCommandRunner : public CommandRunner {
public:
    Outcome run_hidden(std::string_view command_line) override;
};

}  // namespace zvkob::win32
