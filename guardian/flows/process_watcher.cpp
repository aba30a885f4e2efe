#include "guardian/flows/process_watcher.hpp"

#include "core/processes/exit_code_text.hpp"
#include "core/folder_key.hpp"
#include "core/time_text.hpp"
#include "main_window/shown_state.hpp"
#include "guardian/flows/failed_start.hpp"

namespace zvkob {
namespace {

NodeWatch watch_of(MainWindow& w, const NodeProgram& program) {
    return {w.services.nodes, w.services.copies, w.services.history, w.folders,
            program.name,     program.image,     w.data_folder,      w.services.clock.now_ms()};
}

// "after 3 min (process 5000, exit code 0)", or, for a stop ZV-KOB asked
// for, "12 s after it was asked to (...)".
std::string how_it_stopped(MainWindow& w, const NodeProgram& program, const NodeGone& gone) {
    const std::string process =
        " (process " + std::to_string(gone.id) + ", exit code " +
        (gone.end ? exit_code_text(gone.end->exit_code) : std::string("unknown")) + ")";
    const NodeLife& life = program.node.life;
    if (life.cause() == StopCause::asked_for && life.stop_request()) {
        return duration_text(w.services.clock.now_ms() - life.stop_request()->first_ms) +
               " after it was asked to" + process;
    }
    return "after " + duration_text(gone.ran_ms) + process;
}

// A program the watcher sees start or stop, and this copy's node found or
// gone, for the history: one line for what happened at once.
void note_change(MainWindow& w, NodeProgram& program, RunningState before,
                 const Sighting& sighting) {
    const RunningState now = program.status.state();
    const std::string which = "The " + std::string(program.name) + " program " + program.image;
    History& history = w.services.history;
    const bool changed = now != before && !program.image.empty();
    if (changed && now == RunningState::running) {
        program.running_since_ms = w.services.clock.now_ms();
        const std::string note = sighting.seen ? *sighting.seen : program.node.other_running_note();
        history.record(which + " is running" + (note.empty() ? "" : " (" + note + ")") + ".");
    } else if (sighting.seen) {
        history.record(which + " that runs is this copy's node (" + *sighting.seen + ").");
    }
    if (changed && before == RunningState::running) {
        const std::int64_t ran_ms = w.services.clock.now_ms() - program.running_since_ms;
        history.record(which + " stopped " +
                       (sighting.gone ? how_it_stopped(w, program, *sighting.gone)
                                      : "after " + duration_text(ran_ms)) +
                       ".");
    } else if (sighting.gone) {
        history.record("This copy's " + std::string(program.name) + " program " + program.image +
                       " stopped " + how_it_stopped(w, program, *sighting.gone) + "; another " +
                       program.image + " still runs.");
    } else if (changed && now == RunningState::stopped) {
        history.record(which + " is not running.");
    }
}

}  // namespace

void note_query(MainWindow& w) {
    const std::string& failure = !w.qt.status.query_failure().empty()
                                     ? w.qt.status.query_failure()
                                     : w.daemon.status.query_failure();
    w.guardian.query_failing.heard(failure);
}

std::optional<NodeGone> watch_program(MainWindow& w, NodeProgram& program) {
    const RunningState before = program.status.state();
    const ProbeAnswer answer = program.status.ask(w.services.probe, program.image);
    if (!answer.answered()) {
        return std::nullopt;  // the state shown is the last one known; the tooltip says why
    }
    Sighting sighting = program.node.follow(answer, watch_of(w, program));
    program.status.show(sighting.counts_as_running);
    note_change(w, program, before, sighting);
    if (const std::optional<ProcessEnd> failed = program.node.take_batch_failure()) {
        explain_failed_start(w.engine, program.guarded,
                             {program.node.started_with(), w.data_folder, program.node.start_ms(),
                              failed->exit_code},
                             "");
    }
    return std::move(sighting.gone);
}

// A console node stopped by Ctrl+C leaves its batch file's interpreter asking
// "Terminate batch job (Y/N)?" on a console nobody sees. ZV-KOB ends that
// interpreter, the one it started and has held since, once the node has
// exited; never the node, never one a user can see, and never the parent of
// a node it adopted. A node stopped over its RPC alone leaves the batch file
// to run on to its end (the lines a user added after the node's): its
// interpreter is left alone.
void end_left_interpreter(MainWindow& w, const NodeProgram& program, const NodeGone& gone) {
    const auto& request = program.node.life.stop_request();
    if (program.runs_in_console && gone.interpreter &&
        program.node.life.cause() == StopCause::asked_for && request && request->ctrl_c_pressed &&
        w.services.nodes.end_left_interpreter(*gone.interpreter)) {
        w.services.history.record("The hidden interpreter of the " + std::string(program.name) +
                                  " program's batch file (process " +
                                  std::to_string(gone.interpreter->id()) +
                                  ") waited after the node's stop; ZV-KOB ended it.");
    }
}

std::optional<std::uint32_t> node_claim(MainWindow& w, unsigned long process_id) {
    for (const NodeProgram* program : w.programs()) {
        if (program->node.holds(process_id, w.services.nodes, program->image)) {
            return folder_mark(w.folders.key(w.data_folder));
        }
    }
    return std::nullopt;
}

}  // namespace zvkob
