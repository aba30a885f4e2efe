#include "main_window/process_watcher.hpp"

namespace zvkob {

void process_watcher_tick(MainWindow& w) {
    w.qt_status.refresh(w.services.probe, w.QT_NAME_TEXTBOX.text());
    w.daemon_status.refresh(w.services.probe, w.DAEMOND_NAME_TEXTBOX.text());
    w.LAUNCH_BUTTON.set_enabled(!w.qt_status.running() && !w.daemon_status.running());
    if (w.qt_status.query_failure().empty() && w.daemon_status.query_failure().empty()) {
        w.told_nothing_is_watched = false;  // a later failure is told again
    }
}

}  // namespace zvkob
