#include "main_window/session_end_events.hpp"

#include "main_window/closing_events.hpp"
#include "main_window/load_unload.hpp"
#include "main_window/shown_state.hpp"
#include "guardian/flows/stop_node.hpp"

namespace zvkob {
namespace {

constexpr std::chrono::milliseconds longest_hold = std::chrono::minutes(10);

bool a_node_of_this_copy_runs(MainWindow& w) {
    return running_node_program(w.engine) != nullptr;
}

}  // namespace

bool session_end_requested(MainWindow& w) {
    w.guardian.sign_out.session_ending();
    if (w.guardian.sign_out.held_since_ms()) {
        return false;  // still waiting for the node
    }
    GuardedProgram* program = running_node_program(w.engine);
    if (!w.safe_sign_out.ticked() || program == nullptr) {
        return true;
    }
    if (program->node.life.stage() != NodeStage::asked_to_stop) {
        const Outcome asked =
            ask_node_to_stop(w.engine, *program, "The end of the Windows session");
        if (!asked) {
            w.services.history.record("The end of the session is not held: " + asked.reason());
            return true;
        }
    }
    w.guardian.sign_out.hold(w.services.clock.now_ms());
    show_state(w);
    return false;
}

void session_end_cancelled(MainWindow& w) {
    w.guardian.sign_out.session_goes_on();
    w.guardian.sign_out.let_go("The end of the session was cancelled; the node goes on stopping.");
}

void session_ends(MainWindow& w) {
    w.guardian.sign_out.let_go("Windows ends the session now, before the node has stopped.");
    w.guardian.sign_out.session_ending();
    w.closing.because(CloseReason::session_end);
    for (Timer* timer : w.timers()) {
        timer->set_enabled(false);
    }
    // Nobody is left to read a message now; what could not be saved stays as it was.
    (void)unload_main_window(w);
}

void session_end_decided(MainWindow& w, bool ends) {
    if (ends) {
        session_ends(w);
        w.services.history.flush();
    } else {
        session_end_cancelled(w);
    }
}

// Beside a message box too: behind the shut-down screen nobody can answer it,
// so a box that is open is closed and ZV-KOB closes after it.
void end_the_hold_when_due(MainWindow& w) {
    if (!w.guardian.sign_out.held_since_ms()) {
        return;
    }
    const bool waited_too_long =
        std::chrono::milliseconds(w.services.clock.now_ms() -
                                  *w.guardian.sign_out.held_since_ms()) >= longest_hold;
    if (a_node_of_this_copy_runs(w) && !waited_too_long) {
        return;
    }
    w.guardian.sign_out.let_go(waited_too_long
                                   ? "The end of the session was held ten minutes; it goes on now."
                                   : "The node has stopped; the end of the session goes on.");
    w.closing.because(CloseReason::session_end);
    w.services.notifier.close_open_messages();
    request_close(w);
}

}  // namespace zvkob
