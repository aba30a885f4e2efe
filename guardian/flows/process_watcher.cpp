#include "guardian/flows/process_watcher.hpp"

#include <exception>

#include "core/processes/exit_code_text.hpp"
#include "core/folder_key.hpp"
#include "core/time_text.hpp"
#include "guardian/flows/starting/failed_start.hpp"

namespace zvkob {
namespace {

// Whether a process with the program's image name runs. A query that fails
// (or throws) is an answer with its failure, kept until the next one.
ProbeAnswer ask_probe(ProcessProbe& probe, GuardedProgram& program) {
    program.seen.starting = false;
    ProbeAnswer answer;
    try {
        answer = probe.is_running(program.image);
    } catch (const std::exception& failure) {
        const std::string why = failure.what();
        answer = ProbeAnswer{.running = false, .failure = why.empty() ? "Unknown failure." : why};
    }
    program.seen.query_failure = answer.failure;
    return answer;
}

NodeWatch watch_of(GuardianEngine& g, const GuardedProgram& program) {
    return {g.services.nodes, g.services.copies, g.services.history, g.folders,
            program.name,     program.image,     g.data_folder,      g.services.clock.now_ms()};
}

// "after 3 min (process 5000, exit code 0)", or, for a stop ZV-KOB asked
// for, "12 s after it was asked to (...)".
std::string how_it_stopped(GuardianEngine& g, const GuardedProgram& program, const NodeGone& gone) {
    const std::string process =
        " (process " + std::to_string(gone.id) + ", exit code " +
        (gone.end ? exit_code_text(gone.end->exit_code) : std::string("unknown")) + ")";
    const NodeLife& life = program.node.life;
    if (life.cause() == StopCause::asked_for && life.stop_request()) {
        return duration_text(g.services.clock.now_ms() - life.stop_request()->first_ms) +
               " after it was asked to" + process;
    }
    return "after " + duration_text(gone.ran_ms) + process;
}

// A program the watcher sees start or stop, and this copy's node found or
// gone, for the history: one line for what happened at once.
void note_change(GuardianEngine& g, GuardedProgram& program, RunningState before,
                 const Sighting& sighting) {
    const RunningState now = program.seen.state;
    const std::string which = "The " + std::string(program.name) + " program " + program.image;
    History& history = g.services.history;
    const bool changed = now != before && !program.image.empty();
    if (changed && now == RunningState::running) {
        program.running_since_ms = g.services.clock.now_ms();
        const std::string note = sighting.seen ? *sighting.seen : program.node.other_running_note();
        history.record(which + " is running" + (note.empty() ? "" : " (" + note + ")") + ".");
    } else if (sighting.seen) {
        history.record(which + " that runs is this copy's node (" + *sighting.seen + ").");
    }
    if (changed && before == RunningState::running) {
        const std::int64_t ran_ms = g.services.clock.now_ms() - program.running_since_ms;
        history.record(which + " stopped " +
                       (sighting.gone ? how_it_stopped(g, program, *sighting.gone)
                                      : "after " + duration_text(ran_ms)) +
                       ".");
    } else if (sighting.gone) {
        history.record("This copy's " + std::string(program.name) + " program " + program.image +
                       " stopped " + how_it_stopped(g, program, *sighting.gone) + "; another " +
                       program.image + " still runs.");
    } else if (changed && now == RunningState::stopped) {
        history.record(which + " is not running.");
    }
}

}  // namespace

void note_query(GuardianEngine& g) {
    const std::string& failure = !g.guardian.qt.seen.query_failure.empty()
                                     ? g.guardian.qt.seen.query_failure
                                     : g.guardian.daemon.seen.query_failure;
    g.guardian.query_failing.heard(failure);
}

ProgramWatched watch_program(GuardianEngine& g, GuardedProgram& program) {
    const RunningState before = program.seen.state;
    const ProbeAnswer answer = ask_probe(g.services.probe, program);
    if (!answer.answered()) {
        return {};  // the state shown is the last one known; the tooltip says why
    }
    Sighting sighting = program.node.follow(answer, watch_of(g, program));
    program.seen.state = sighting.counts_as_running ? RunningState::running : RunningState::stopped;
    note_change(g, program, before, sighting);
    if (const std::optional<ProcessEnd> failed = program.node.take_batch_failure()) {
        explain_failed_start(g, program,
                             {program.node.started_with(), g.data_folder, program.node.start_ms(),
                              failed->exit_code},
                             "");
    }
    return {true, std::move(sighting.gone)};
}

// A console node stopped by Ctrl+C leaves its batch file's interpreter asking
// "Terminate batch job (Y/N)?" on a console nobody sees. ZV-KOB ends that
// interpreter, the one it started and has held since, once the node has
// exited; never the node, never one a user can see, and never the parent of
// a node it adopted. A node stopped over its RPC alone leaves the batch file
// to run on to its end (the lines a user added after the node's): its
// interpreter is left alone.
void end_left_interpreter(GuardianEngine& g, const GuardedProgram& program, const NodeGone& gone) {
    const auto& request = program.node.life.stop_request();
    if (program.runs_in_console && gone.interpreter &&
        program.node.life.cause() == StopCause::asked_for && request && request->ctrl_c_pressed &&
        g.services.nodes.end_left_interpreter(*gone.interpreter)) {
        g.services.history.record("The hidden interpreter of the " + std::string(program.name) +
                                  " program's batch file (process " +
                                  std::to_string(gone.interpreter->id()) +
                                  ") waited after the node's stop; ZV-KOB ended it.");
    }
}

std::optional<std::uint32_t> node_claim(GuardianEngine& g, unsigned long process_id) {
    for (const GuardedProgram* program : g.programs()) {
        if (program->node.holds(process_id, g.services.nodes, program->image)) {
            return folder_mark(g.folders.key(g.data_folder));
        }
    }
    return std::nullopt;
}

}  // namespace zvkob
