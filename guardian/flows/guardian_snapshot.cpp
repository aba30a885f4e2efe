#include "guardian/flows/guardian_snapshot.hpp"

#include "core/node_state/node_progress_text.hpp"
#include "core/text_lines.hpp"
#include "guardian/flows/antivirus_hint_events.hpp"
#include "guardian/flows/metered_events.hpp"
#include "guardian/flows/neighbour_events.hpp"
#include "guardian/flows/node_care.hpp"
#include "guardian/flows/node_state_now.hpp"

namespace zvkob {
namespace {

std::string stopping_tip(const GuardedProgram& program, std::int64_t now_ms) {
    if (program.node.life.stage() != NodeStage::asked_to_stop) {
        return {};
    }
    return "Stopping: " + asked_text(program.node.life, now_ms) +
           ". ZV-KOB waits; it never kills the node.";
}

// Which source the state shown comes from, or why not from the node's RPC.
std::string source_line(const MergedNodeState& shown, const NodeRpc& rpc, std::int64_t now_ms) {
    if (!shown.from_rpc) {
        return rpc.log_source_line(now_ms);
    }
    return shown.log_decides ? "From the node's log and RPC" : "From the node's RPC";
}

// What the label's tooltip says while the process query fails.
std::string query_failure_tip(const GuardedProgram& program) {
    if (program.seen.query_failure.empty()) {
        return {};
    }
    return "ZV-KOB cannot tell whether \"" + program.image + "\" runs. " +
           program.seen.query_failure +
           "\nThe label keeps the last known state; ZV-KOB asks again twice a second.";
}

std::string label_tip(const GuardianEngine& g, const GuardedProgram& program, std::int64_t now_ms) {
    std::string tip;
    if (const std::optional<MergedNodeState> shown = node_state_shown(g, program)) {
        tip = progress_tooltip(shown->state);
        add_line(tip, shown->state.advice);
        add_line(tip, warning_tooltip(shown->state));
        add_line(tip, source_line(*shown, program.node.rpc(), now_ms));
        add_line(tip, antivirus_hint_line(g, program));
    }
    add_line(tip, care_tooltip(g, program));
    add_line(tip, power_tooltip(g, program));
    if (program.node.life.runs()) {
        add_line(tip, metered_tooltip(g));
    }
    add_line(tip, query_failure_tip(program));
    add_line(tip, stopping_tip(program, now_ms));
    if (!program.node.error_end().empty() && !program.node.life.runs()) {
        add_line(tip, "The node ended after an error: " + program.node.error_end());
    }
    if (const std::string note = program.node.other_running_note();
        !note.empty() && program.seen.running()) {
        add_line(tip, program.image + " runs, but not as this copy's node (" + note + ").");
    }
    if (!program.node.not_held_reason().empty()) {
        add_line(tip, "ZV-KOB follows this copy's node (process " +
                          std::to_string(program.node.id()) +
                          ") by its name and process number: Windows does not let it open the "
                          "process (" +
                          program.node.not_held_reason() + "), so its exit code is not known.");
    }
    return tip;
}

ProgramSnapshot program_snapshot(const GuardianEngine& g, const GuardedProgram& program,
                                 std::int64_t now_ms) {
    return {.tip = label_tip(g, program, now_ms), .stopping_tip = stopping_tip(program, now_ms)};
}

}  // namespace

GuardianSnapshot guardian_snapshot(const GuardianEngine& g, std::int64_t now_ms) {
    const GuardedProgram& qt = g.guardian.qt;
    const GuardedProgram& daemon = g.guardian.daemon;
    return {.qt = program_snapshot(g, qt, now_ms),
            .daemon = program_snapshot(g, daemon, now_ms),
            .checking = g.guardian.glance.checking(),
            .followed = g.ticked(GuardTick::show_progress) ? node_state_shown(g) : std::nullopt,
            .query_fails = !qt.seen.query_failure.empty() || !daemon.seen.query_failure.empty(),
            .a_program_runs = qt.seen.running() || daemon.seen.running(),
            .session_ending = g.guardian.sign_out.ending()};
}

}  // namespace zvkob
