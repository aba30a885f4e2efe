#include "main_window/starting/auto_close.hpp"

#include "main_window/closing_events.hpp"
#include "main_window/event_order.hpp"
#include "main_window/shown_state.hpp"

namespace zvkob {

void auto_close_tick(MainWindow& w) {
    if (!w.auto_close.ticked()) {
        return;  // the timer stays on and asks again in ten seconds
    }
    close_if_a_node_runs(w);
}

void close_if_a_node_runs(MainWindow& w) {
    process_watcher_tick(w);  // decide on what runs now, not half a second ago
    if (w.qt.status.running() || w.daemon.status.running()) {
        if (w.guardian.node_keeper.holds_auto_close()) {
            return;  // the timer stays on: switched off, Keep Node Running lets it act again
        }
        w.indicator = colours::red;
        show_state(w);
        request_auto_close(w);
        return;
    }
    w.indicator = colours::pink;
    w.auto_close_timer.set_enabled(false);
    show_state(w);
}

void auto_start_rule(MainWindow& w) {
    if (w.auto_start.ticked()) {
        w.auto_close.set_enabled(true);
    } else {
        w.auto_close.set_enabled(false);
        w.auto_close.set_tick(0);
    }
    show_state(w);
}

}  // namespace zvkob
