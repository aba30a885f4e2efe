#include "guardian/flows/node_gone_events.hpp"

#include <memory>

#include "core/node_log/node_log_line.hpp"
#include "guardian/engine/node_gone_meeting.hpp"
#include "guardian/flows/starting/background_checks.hpp"
#include "guardian/flows/starting/failed_start.hpp"
#include "guardian/flows/guard_actions_done.hpp"
#include "guardian/flows/neighbour_events.hpp"
#include "guardian/flows/process_watcher.hpp"
#include "guardian/flows/starting/start_rule.hpp"
#include "guardian/node/node_log.hpp"

namespace zvkob {
namespace {

// What the node-gone meeting (guardian/engine/node_gone_meeting.hpp) sees.
NodeGoneScene gone_scene(const GuardianEngine& g, const GuardedProgram& program) {
    return {.chosen = program.chosen(),
            .stage = program.node.life.stage(),
            .since_ms = program.node.life.since_ms(),
            .cause = program.node.life.cause(),
            .session_ending = g.guardian.sign_out.ending(),
            .closing = g.host.is_closing()};
}

// A restart waits while the session ends or the node runs or stops already.
std::optional<std::string> restart_held_back(GuardianEngine& g, const GuardedProgram& program) {
    const StartAnswer answer = may_start_now(g, program);
    if (answer.refusal == StartRefusal::session_ending ||
        answer.refusal == StartRefusal::node_runs ||
        answer.refusal == StartRefusal::node_stopping) {
        return answer.reason;
    }
    return std::nullopt;
}

void decide_on(GuardianEngine& g, GuardedProgram& program, const NodeGone& gone,
               std::int64_t stopped_ms, const NodeStop& stop) {
    if (!still_to_decide(g.guardian, gone_scene(g, program), stopped_ms)) {
        return;  // it runs again, or the tick was cleared, while the log was read
    }
    program.node.life.on(NodeEvent::verdict, g.services.clock.now_ms(), cause_of(stop));
    if (stop.how == HowItStopped::after_error && !stop.fatal_line.empty()) {
        program.node.note_error_end(std::string(read_log_line(stop.fatal_line).message) + "\n" +
                                    stop.hint);
    }
    const GoneNode node{program.described(), gone.ran_ms,
                        program.node.started_by() == StartRequest::keep_node_running};
    carry_out(g, keep_running_decision(g.guardian.node_keeper, node, stop,
                                       [&g, &program] { return restart_held_back(g, program); }));
}

// What the node's log is read for: its start, its folder and its end, as
// the watcher knows it (now, when Windows did not tell when it ended).
StoppedNode stopped_node(const GuardianEngine& g, const GuardedProgram& program,
                         const NodeGone& gone) {
    const std::int64_t ended_ms = gone.end ? gone.end->at_ms : g.services.clock.now_ms();
    return {program.node.started_with(), g.data_folder, ended_ms - gone.ran_ms,
            gone.end ? std::optional(gone.end->exit_code) : std::nullopt};
}

// The node's log is read by the worker: it may sit on a slow drive.
void decide(GuardianEngine& g, GuardedProgram& program, const NodeGone& gone,
            std::int64_t stopped_ms) {
    const NodeGoneScene scene = gone_scene(g, program);
    if (!still_to_decide(g.guardian, scene, stopped_ms)) {
        return;
    }
    if (const char* why = stopped_by_others(scene)) {
        g.guardian.node_keeper.leave_alone(program.described(), why);
        return;
    }
    const StoppedNode node = stopped_node(g, program, gone);
    check_in_background<NodeStop>(
        g, "the node's log",
        [&files = g.services.files, node] { return how_the_node_stopped(files, node); },
        [&g, &program, gone, stopped_ms](const NodeStop& stop) {
            decide_on(g, program, gone, stopped_ms, stop);
        });
}

}  // namespace

void this_copys_node_gone(GuardianEngine& g, GuardedProgram& program, const NodeGone& gone) {
    end_left_interpreter(g, program, gone);
    power_node_gone(g, program);
    // Keep Node Running reads the log of every stop; without it, one right
    // after a start of this copy's is read too, since it may tell why.
    if (explain_as_failed_start(g.guardian, gone_scene(g, program), gone)) {
        explain_failed_start(g, program, stopped_node(g, program, gone), "");
    }
    // The decision acts (it may arm the countdown or show a message), so it
    // waits for a message box that is open to close; each stop waits on its
    // own, and only the node's latest stop is decided (still_to_decide).
    const std::int64_t stopped_ms = program.node.life.since_ms();
    auto key = std::make_shared<char>();
    g.services.events.run_when_free(key.get(), [key, &g, &program, gone, stopped_ms] {
        decide(g, program, gone, stopped_ms);
        g.host.show_guardian_state();
    });
}

}  // namespace zvkob
