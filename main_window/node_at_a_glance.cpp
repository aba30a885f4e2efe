#include "main_window/node_at_a_glance.hpp"

#include "core/node_progress_text.hpp"
#include "main_window/in_notification_area.hpp"
#include "main_window/node_care.hpp"
#include "main_window/shown_state.hpp"
#include "main_window/stop_node.hpp"
#include "main_window/window_menu.hpp"

namespace zvkob {
namespace {

void forget_progress(MainWindow& w) {
    if (w.glance.forget()) {
        show_state(w);
    }
}

// Trouble, and the end of a catch-up, are worth a quiet notice.
void give_notices(MainWindow& w, const ProgressReading& reading) {
    const NodeCondition was =
        w.glance.state() ? w.glance.state()->condition : NodeCondition::unknown;
    const NodeCondition now = reading.state.condition;
    if (reading.news.alarm) {
        tray_notice(w, NoticeKind::trouble,
                    now == NodeCondition::stuck ? "the node is stuck" : "the node needs attention",
                    progress_tooltip(reading.state));
    } else if (was == NodeCondition::catching_up && now == NodeCondition::synced) {
        tray_notice(w, NoticeKind::caught_up, "the node has caught up",
                    progress_tooltip(reading.state));
    }
}

// The node's state changed: the history tells it, and a node that became
// stuck or needs attention flashes the taskbar button once.
void take_reading(MainWindow& w, const ProgressReading& reading) {
    for (const std::string& event : reading.news.events) {
        w.services.history.record(event);
    }
    for (const std::string& warning : reading.news.warnings) {
        node_warned(w, warning);
    }
    if (!reading.reading_event.empty()) {
        w.services.history.record(reading.reading_event);
    }
    if (reading.news.alarm) {
        w.services.windows.flash_main_window();
    }
    give_notices(w, reading);
    w.glance.take(reading.state);
    show_state(w);
}

void follow(MainWindow& w, NodeProgram& program) {
    if (!w.glance.watched() || w.glance.watched()->node_id() != program.node.id()) {
        w.glance.watch(std::make_shared<ProgressWatch>(
                           program.node.id(), program.node.started_with(), w.data_folder,
                           w.services.clock, program.node.seen_starting_ms()),
                       &program);
        w.tray.node_started();  // its catch-up may be told again
    }
    if (w.glance.reading()) {
        return;  // one reading at a time
    }
    std::shared_ptr<ProgressWatch> watch = w.glance.watched();
    if (watch->has_no_log()) {
        // Nothing to wait on: the worker is not woken every two seconds for it.
        take_reading(w, watch->read(w.services.files, w.services.clock.now_ms()));
        return;
    }
    w.glance.reading_started();
    run_in_background<ProgressReading>(
        w.services.background,
        [watch, &files = w.services.files, now = w.services.clock.now_ms()] {
            return watch->read(files, now);
        },
        [&w, watch](ProgressReading reading) {
            w.glance.reading_done();
            if (w.glance.watches(watch)) {  // still the node of this copy
                take_reading(w, reading);
            }
        },
        w.lifetime);
}

}  // namespace

void node_progress_tick(MainWindow& w) {
    NodeProgram* program = w.show_progress.ticked() ? running_node_program(w) : nullptr;
    if (program == nullptr || program->node.id() == 0) {
        forget_progress(w);
        return;
    }
    follow(w, *program);
}

void show_progress_clicked(MainWindow& w) {
    switch_tick(w, w.show_progress, stored::node_progress, "Show the Node's Progress");
    if (!w.show_progress.ticked()) {
        forget_progress(w);
    }
    show_state(w);
}

}  // namespace zvkob
