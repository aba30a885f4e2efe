#include "main_window/session_end_events.hpp"

#include "main_window/closing_events.hpp"
#include "main_window/load_unload.hpp"
#include "main_window/shown_state.hpp"
#include "guardian/flows/sign_out_hold.hpp"

namespace zvkob {

bool session_end_requested(MainWindow& w) {
    return hold_the_session_end(w.engine);
}

void session_end_cancelled(MainWindow& w) {
    session_goes_on(w.engine);
}

void session_ends(MainWindow& w) {
    session_ends_now(w.engine);
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
    if (!let_go_when_due(w.engine)) {
        return;
    }
    w.closing.because(CloseReason::session_end);
    w.services.notifier.close_open_messages();
    request_close(w);
}

}  // namespace zvkob
