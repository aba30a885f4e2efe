#include "guardian/flows/metered_events.hpp"

#include <array>
#include <chrono>

#include "core/node_rpc/node_rpc_asker.hpp"
#include "guardian/engine/metered_meeting.hpp"
#include "guardian/flows/guard_actions_done.hpp"
#include "guardian/flows/node_state_now.hpp"
#include "guardian/flows/stop_node.hpp"

namespace zvkob {
namespace {

// What came of a call: its outcome, and why it failed.
struct NetworkAnswer {
    NetworkOutcome outcome = NetworkOutcome::not_asked;
    std::string failure;
};

// The node's state is asked first, and changed only when it is not so
// already: a network the user paused a moment ago is never taken for
// ZV-KOB's pause, nor one switched on for its resume. A call that went and
// had no answer may have been carried out: the node's next state settles it.
NetworkAnswer change_network(NodeRpcAsker& rpc, const RpcEndpoint& endpoint, unsigned long id,
                             NetworkAction action) {
    const bool wanted_active = action == NetworkAction::resume;
    const RpcReply state = rpc.call(endpoint, id, "getnetworkinfo");
    if (!state.ok()) {
        return {NetworkOutcome::not_asked, state.describe()};
    }
    if (state.result().member("networkactive").flag() == wanted_active) {
        return {NetworkOutcome::already, {}};
    }
    const std::array params{RpcParam::flag(wanted_active)};
    const RpcReply reply = rpc.call(endpoint, id, "setnetworkactive", params);
    if (reply.ok()) {
        return {NetworkOutcome::done, {}};
    }
    return {reply.may_have_been_acted_on() ? NetworkOutcome::unknown : NetworkOutcome::refused,
            reply.describe()};
}

NodeRun node_run_of(const GuardedProgram* program) {
    if (program == nullptr || program->node.id() == 0) {
        return {};
    }
    const HeldProcess* held = program->node.held();
    return {program->node.id(), held == nullptr ? 0 : held->created_ms()};
}

MeteredScene metered_scene(const GuardianEngine& g, const GuardedProgram* program) {
    MeteredScene scene{.ticked = g.ticked(GuardTick::metered_pause),
                       .state_followed = g.ticked(GuardTick::show_progress),
                       .node_runs = program != nullptr,
                       .run = node_run_of(program)};
    if (program == nullptr) {
        return scene;
    }
    const NodeRpc& rpc = program->node.rpc();
    scene.node_answers = rpc.answers();
    scene.state_poll = rpc.state_poll();
    scene.polls_asked = rpc.polls_asked();
    if (rpc.answers()) {
        scene.network_active = rpc.state()->network_active;
        scene.endpoint = rpc.endpoint();
    }
    return scene;
}

}  // namespace

void metered_pause_tick_changed(GuardianEngine& g) {
    g.guardian.metered.read_soon();
    metered_tick(g);
}

void metered_tick(GuardianEngine& g) {
    const GuardedProgram* program = running_node_program(g);
    carry_out(
        g, metered_tick(g.guardian.metered, metered_scene(g, program), g.services.clock.now_ms()));
}

void change_node_network(GuardianEngine& g, const RpcEndpoint& endpoint, NetworkAction action) {
    GuardedProgram* program = running_node_program(g);
    if (program == nullptr) {
        g.guardian.metered.answer_dropped();  // its node has gone meanwhile
        return;
    }
    run_in_background<NetworkAnswer>(
        g.services.background,
        [endpoint, id = program->node.id(), action, &http = g.services.http,
         &listeners = g.services.listeners, &files = g.services.files] {
            NodeRpcAsker rpc(http, listeners, files);
            return change_network(rpc, endpoint, id, action);
        },
        [&g, program, action, id = program->node.id()](const NetworkAnswer& answer) {
            if (program->node.id() != id) {
                g.guardian.metered.answer_dropped();  // for a run of the node that has gone
                return;
            }
            g.guardian.metered.answered(action, answer.outcome, answer.failure,
                                        program->node.rpc().polls_asked());
            program->node.rpc().ask_now(g.services.clock.now_ms());  // its networkactive anew
            g.host.show_guardian_state();
        },
        g.lifetime, Lane::node_rpc);
}

void metered_progress_switched(GuardianEngine& g) {
    g.guardian.metered
        .read_soon();  // a pause that can no longer be followed is resumed at the next look
}

// ZV-KOB resumes its own pause as it closes, giving the node
// resume_at_close_within_ms to answer, on the window's thread since nothing
// runs after the close; one it could not resume is remembered for this run
// of the node. As Windows ends the session the node ends with it: nothing is
// asked, and the pause is only remembered.
void metered_closing(GuardianEngine& g) {
    GuardedProgram* program = running_node_program(g);
    if (program == nullptr || !g.guardian.metered.may_hold_a_pause()) {
        return;
    }
    const std::optional<RpcEndpoint> endpoint =
        g.guardian.metered.call_at(metered_scene(g, program).endpoint);
    std::optional<NetworkOutcome> resumed;
    std::string failure = rpc_not_known;
    if (!g.guardian.sign_out.ending()) {
        resumed = NetworkOutcome::not_asked;
        if (endpoint) {
            NodeRpcAsker asker(g.services.http, g.services.listeners, g.services.files);
            const std::array params{RpcParam::flag(true)};
            const RpcReply reply =
                asker.call(*endpoint, program->node.id(), "setnetworkactive", params, "/",
                           std::chrono::milliseconds(resume_at_close_within_ms));
            resumed = reply.ok() ? NetworkOutcome::done : NetworkOutcome::refused;
            failure = reply.describe();
        }
    }
    g.guardian.metered.closed(resumed, failure, node_run_of(program));
}

std::string metered_tooltip(const GuardianEngine& g) {
    return g.guardian.metered.paused() ? metered_tooltip_line : "";
}

}  // namespace zvkob
