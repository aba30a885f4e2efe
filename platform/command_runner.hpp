#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "platform/held_process.hpp"
#include "platform/process_priority.hpp"

namespace zvkob {

// What starting a command gave: the process, held so that the window can tell
// later whether it has ended and how, or why there is none.
struct Start {
    std::shared_ptr<HeldProcess> process;
    std::string failure;

    bool started() const { return process != nullptr; }
};

// Starts a command line as a new process with a hidden window, without
// waiting for it; at low priority its children inherit the CPU class.
class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    virtual Start run_hidden(std::string_view command_line,
                             NodePriority priority = NodePriority::normal) = 0;
};

}  // namespace zvkob
