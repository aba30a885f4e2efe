#include "guardian/flows/sign_out_hold.hpp"

#include <chrono>

#include "guardian/flows/stop_node.hpp"

namespace zvkob {
namespace {

constexpr std::chrono::milliseconds longest_hold = std::chrono::minutes(10);

}  // namespace

bool hold_the_session_end(GuardianEngine& g) {
    g.guardian.sign_out.session_ending();
    if (g.guardian.sign_out.held_since_ms()) {
        return false;  // still waiting for the node
    }
    GuardedProgram* program = running_node_program(g);
    if (!g.ticked(GuardTick::safe_sign_out) || program == nullptr) {
        return true;
    }
    if (program->node.life.stage() != NodeStage::asked_to_stop) {
        const Outcome asked = ask_node_to_stop(g, *program, "The end of the Windows session");
        if (!asked) {
            g.services.history.record("The end of the session is not held: " + asked.reason());
            return true;
        }
    }
    g.guardian.sign_out.hold(g.services.clock.now_ms());
    g.host.show_guardian_state();
    return false;
}

void session_goes_on(GuardianEngine& g) {
    g.guardian.sign_out.session_goes_on();
    g.guardian.sign_out.let_go("The end of the session was cancelled; the node goes on stopping.");
}

void session_ends_now(GuardianEngine& g) {
    g.guardian.sign_out.let_go("Windows ends the session now, before the node has stopped.");
    g.guardian.sign_out.session_ending();
}

bool let_go_when_due(GuardianEngine& g) {
    if (!g.guardian.sign_out.held_since_ms()) {
        return false;
    }
    const bool waited_too_long =
        std::chrono::milliseconds(g.services.clock.now_ms() -
                                  *g.guardian.sign_out.held_since_ms()) >= longest_hold;
    if (running_node_program(g) != nullptr && !waited_too_long) {
        return false;
    }
    g.guardian.sign_out.let_go(waited_too_long
                                   ? "The end of the session was held ten minutes; it goes on now."
                                   : "The node has stopped; the end of the session goes on.");
    return true;
}

}  // namespace zvkob
