#pragma once
#include <string_view>

#include "core/outcome.hpp"

namespace zvkob {

// Starts a command line as a new process with a hidden window, without waiting for it.
class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    virtual Outcome run_hidden(std::string_view command_line) = 0;
};

}  // namespace zvkob
