#include "main_window/process_watcher.hpp"

namespace zvkob {

void process_watcher_tick(MainWindow& w) {
    for (NodeProgram* program : w.programs()) {
        program->status.refresh(w.services.probe, program->image);
    }
    w.launch_button.set_enabled(!w.qt.status.running() && !w.daemon.status.running());
    if (w.qt.status.query_failure().empty() && w.daemon.status.query_failure().empty()) {
        w.told_nothing_is_watched = false;  // a later failure is told again
    }
}

}  // namespace zvkob
