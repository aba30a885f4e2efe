#include "main_window/auto_close.hpp"

#include "main_window/closing.hpp"
#include "main_window/process_watcher.hpp"

namespace zvkob {

void auto_close_tick(MainWindow& w) {
    if (w.AUTOCLOSE_TIMER_TICKBOX.tick() != 1) {
        return;  // the timer stays on and asks again in ten seconds
    }
    close_if_a_node_runs(w);
}

void close_if_a_node_runs(MainWindow& w) {
    process_watcher_tick(w);  // decide on what runs now, not half a second ago
    if (w.qt_status.running() || w.daemon_status.running()) {
        w.AUTORUN_TIMER_TEXTBOX.set_back_colour(colours::red);
        request_auto_close(w);
        return;
    }
    w.AUTORUN_TIMER_TEXTBOX.set_back_colour(colours::pink);
    w.UNLOAD_TIMER.set_enabled(false);
}

void autostart_rule(MainWindow& w) {
    if (w.AUTOSTART_TICKBOX.tick() == 1) {
        w.AUTOCLOSE_TIMER_TICKBOX.set_enabled(true);
    } else {
        w.AUTOCLOSE_TIMER_TICKBOX.set_enabled(false);
        w.AUTOCLOSE_TIMER_TICKBOX.set_tick(0);
    }
}

}  // namespace zvkob
