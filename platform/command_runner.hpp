#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zvkob {

// A process ZV-KOB started, kept so that the window can tell later whether
// it has ended, and how.
class StartedProcess {
public:
    virtual ~StartedProcess() = default;
    virtual unsigned long id() const = 0;
    // Its exit code once it has ended; nothing while it runs.
    virtual std::optional<unsigned long> exit_code() = 0;
};

// What starting a command gave: the process, or why there is none.
struct Start {
    std::shared_ptr<StartedProcess> process;
    std::string failure;

    bool started() const { return process != nullptr; }
};

// Starts a command line as a new process with a hidden window, without waiting for it.
class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    virtual Start run_hidden(std::string_view command_line) = 0;
};

}  // namespace zvkob
