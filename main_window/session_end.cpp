#include "main_window/session_end.hpp"

#include "main_window/load_unload.hpp"

namespace zvkob {

bool session_end_requested(MainWindow& w) {
    w.session_ending = true;
    return true;
}

void session_end_cancelled(MainWindow& w) {
    w.session_ending = false;
}

void session_ends(MainWindow& w) {
    w.session_ending = true;
    w.close_reason = CloseReason::session_end;
    for (Timer* timer : w.timers()) {
        timer->set_enabled(false);
    }
    // Nobody is left to read a message now; what could not be saved stays as it was.
    (void)unload_main_window(w);
}

}  // namespace zvkob
