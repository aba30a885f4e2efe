#pragma once
#include <string>
#include <string_view>

#include "core/controls.hpp"
#include "platform/process_probe.hpp"

namespace zvkob {

// What the window knows about one node program. Before the first probe it
// knows nothing, and nothing is launched on a guess.
enum class RunningState { not_probed, running, stopped };

// One node program's running state, held once and shown by its status label:
// the label's colour and text always follow it. It changes only after a fresh
// answer of the process query, so the window shows either what the query last
// said or that it has not asked yet.
class ProcessStatus {
public:
    ProcessStatus(Label& label, std::string running_text, std::string stopped_text);
    ProcessStatus(const ProcessStatus&) = delete;
    ProcessStatus& operator=(const ProcessStatus&) = delete;

    Label& label() const { return label_; }
    RunningState state() const { return state_; }
    bool running() const { return state_ == RunningState::running; }
    bool stopped() const { return state_ == RunningState::stopped; }

    // Why the last query about this program failed, or empty when it answered.
    // While it fails, the state shown is the last one known.
    const std::string& query_failure() const { return query_failure_; }
    // What the label's tooltip says while the query fails.
    std::string query_failure_tip(std::string_view image_name) const;

    // Just started: until the watcher has looked again, the program counts
    // as starting and is not started a second time.
    bool starting() const { return starting_; }
    void mark_starting() { starting_ = true; }

    // Asks whether a process with this image name runs. A query that fails
    // (or throws) is an answer with its failure, kept for query_failure().
    ProbeAnswer ask(ProcessProbe& probe, const std::string& image_name);

    // Shows the state the window decided on from the answer.
    void show(bool running);

private:
    Label& label_;
    const std::string running_text_;
    const std::string stopped_text_;
    RunningState state_ = RunningState::not_probed;
    std::string query_failure_;
    bool starting_ = false;
};

}  // namespace zvkob
