#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "guardian/node/node_of_this_copy.hpp"

namespace zvkob {

// What the watcher knows about one node program. Before the first probe it
// knows nothing, and nothing is launched on a guess.
enum class RunningState { not_probed, running, stopped };

// What the watcher made of one program's last process query. It changes only
// after a fresh answer, so it is either what the query last said or that it
// has not asked yet.
struct ProcessSeen {
    RunningState state = RunningState::not_probed;
    // Why the last query failed, or empty when it answered. While it fails,
    // the state is the last one known.
    std::string query_failure;
    // Just started: until the watcher has looked again, the program counts
    // as starting and is not started a second time.
    bool starting = false;

    bool running() const { return state == RunningState::running; }
    bool stopped() const { return state == RunningState::stopped; }
};

// One of the two node programs as the guardian knows it: its names, what the
// watcher saw of it, and this copy's node of it. Whoever runs the guardian
// says whether it is the chosen one (the window: its launch mode).
struct GuardedProgram {
    GuardedProgram(std::string_view name_, bool runs_in_console_)
        : name(name_), runs_in_console(runs_in_console_) {}
    GuardedProgram(const GuardedProgram&) = delete;
    GuardedProgram& operator=(const GuardedProgram&) = delete;

    const std::string_view name;  // "QT" or "DAEMON", as the window and its messages say
    const bool runs_in_console;   // the DAEMON program: asked to stop with Ctrl+C, not a close
    std::function<bool()> chosen = [] { return false; };  // LAUNCH and the countdown start it
    std::string image;                                    // the image name the watcher looks for
    std::string batch_path;                               // the batch file that starts it
    std::int64_t running_since_ms = 0;                    // when the watcher first saw it running
    ProcessSeen seen;
    NodeOfThisCopy node;  // the process this copy started or adopted, and its life

    // How the history and messages name it: "the DAEMON program
    // (bitcoind.exe)", with "process 5000" once this copy's node is known.
    std::string described() const {
        const std::string process =
            node.id() == 0 ? std::string() : ", process " + std::to_string(node.id());
        return "the " + std::string(name) + " program (" + image + process + ")";
    }
};

}  // namespace zvkob
