#pragma once
#include <string>
#include <string_view>

#include "core/controls.hpp"
#include "guardian/node/guarded_program.hpp"
#include "platform/process_probe.hpp"

namespace zvkob {

// One node program's running state as its status label shows it: the
// label's colour and text always follow what the watcher saw (held by the
// guardian, guarded_program.hpp).
class ProcessStatus {
public:
    ProcessStatus(ProcessSeen& seen, Label& label, std::string running_text,
                  std::string stopped_text);
    ProcessStatus(const ProcessStatus&) = delete;
    ProcessStatus& operator=(const ProcessStatus&) = delete;

    Label& label() const { return label_; }
    RunningState state() const { return seen_.state; }
    bool running() const { return seen_.running(); }
    bool stopped() const { return seen_.stopped(); }

    // Why the last query about this program failed, or empty when it answered.
    // While it fails, the state shown is the last one known.
    const std::string& query_failure() const { return seen_.query_failure; }

    // Just started: until the watcher has looked again, the program counts
    // as starting and is not started a second time.
    bool starting() const { return seen_.starting; }
    void mark_starting() { seen_.starting = true; }

    // Shows the state the window decided on from the answer.
    void show(bool running);

private:
    ProcessSeen& seen_;
    Label& label_;
    const std::string running_text_;
    const std::string stopped_text_;
};

}  // namespace zvkob
