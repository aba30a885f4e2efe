#include "main_window/process_watcher.hpp"

#include "core/time_text.hpp"
#include "main_window/keep_node_running.hpp"
#include "main_window/session_end.hpp"
#include "main_window/stop_node.hpp"

namespace zvkob {
namespace {

// A program the watcher sees start or stop, for the history and Keep Node Running.
void note_change(MainWindow& w, NodeProgram& program, RunningState before) {
    const RunningState now = program.status.state();
    if (now == before || program.image.empty()) {
        return;
    }
    const std::string which = "The " + std::string(program.name) + " program " + program.image;
    if (now == RunningState::running) {
        program.running_since_ms = w.services.clock.now_ms();
        w.services.history.record(which + " is running.");
    } else if (before == RunningState::running) {
        const std::int64_t ran_ms = w.services.clock.now_ms() - program.running_since_ms;
        w.services.history.record(which + " stopped after " + duration_text(ran_ms) + ".");
        if (program.chosen.ticked()) {
            program_stopped(w, program, ran_ms);
        }
    } else {
        w.services.history.record(which + " is not running.");
    }
}

// Once when the query starts failing, once when it answers again.
void note_query(MainWindow& w) {
    const std::string& failure = !w.qt.status.query_failure().empty()
                                     ? w.qt.status.query_failure()
                                     : w.daemon.status.query_failure();
    if (!failure.empty() && !w.history_has_query_failing) {
        w.history_has_query_failing = true;
        w.services.history.record("The process query fails: " + failure);
    } else if (failure.empty() && w.history_has_query_failing) {
        w.history_has_query_failing = false;
        w.services.history.record("The process query answers again.");
    }
    if (failure.empty()) {
        w.told_nothing_is_watched = false;  // a later failure is told again
    }
}

}  // namespace

void process_watcher_tick(MainWindow& w) {
    for (NodeProgram* program : w.programs()) {
        const RunningState before = program->status.state();
        program->status.refresh(w.services.probe, program->image);
        note_change(w, *program, before);
    }
    w.launch_button.set_enabled(!w.qt.status.running() && !w.daemon.status.running());
    note_query(w);
    if (w.stopping || w.session_held_since_ms) {
        // It may show a message or close the window: it waits for a message box.
        w.services.events.run_when_free(&w.stopping, [&w] {
            follow_node_stop(w);
            end_the_hold_when_due(w);
        });
    }
}

}  // namespace zvkob
