#include "main_window/event_order.hpp"

#include "main_window/countdown.hpp"
#include "main_window/keep_node_running.hpp"
#include "main_window/process_watcher.hpp"
#include "main_window/session_end.hpp"
#include "main_window/shown_state.hpp"
#include "main_window/stop_node.hpp"

namespace zvkob {

void process_watcher_tick(MainWindow& w) {
    for (NodeProgram* program : w.programs()) {
        if (const std::optional<NodeGone> gone = watch_program(w, *program)) {
            this_copys_node_gone(w, *program, *gone);
        }
    }
    w.launch_button.set_enabled(!w.qt.status.running() && !w.daemon.status.running());
    note_query(w);
    follow_node_stops(w);
    end_the_hold_when_due(w);
    show_state(w);
}

void this_copys_node_gone(MainWindow& w, NodeProgram& program, const NodeGone& gone) {
    end_left_interpreter(w, program, gone);
    node_gone(w, program, gone);
}

void start_stop_click(MainWindow& w) {
    if (!w.qt.chosen.ticked() && !w.daemon.chosen.ticked()) {
        settle_with_nothing_chosen(w);
    } else if (w.start_stop_button.text() == "STOP") {
        note_countdown_stopped(w);
        disarm_countdown(w);
    } else {
        end_back_off(w);
        arm_countdown(w, std::chrono::milliseconds(0), StartRequest::countdown);
    }
    show_state(w);
}

}  // namespace zvkob
