#include "main_window/launch_modes.hpp"

namespace zvkob {
namespace {

// The two rules are mirror images: `changed` is the tickbox whose tick changed.
void launch_mode_rule(MainWindow& w, Tickbox& changed, Tickbox& other) {
    if (changed.tick() == 1) {
        other.set_enabled(false);
        other.set_tick(0);
        w.LAUNCH_BUTTON.set_enabled(true);
        w.AUTOSTART_TICKBOX.set_enabled(true);
    } else {
        other.set_enabled(true);
        w.LAUNCH_BUTTON.set_enabled(false);
        w.AUTOSTART_TICKBOX.set_enabled(false);
        w.AUTOSTART_TICKBOX.set_tick(0);
        w.AUTOCLOSE_TIMER_TICKBOX.set_tick(0);
    }
}

}  // namespace

void use_qt_bat_rule(MainWindow& w) {
    launch_mode_rule(w, w.USE_QT_BAT_TICKBOX, w.USE_DAEMON_BAT_TICKBOX);
}

void use_daemon_bat_rule(MainWindow& w) {
    launch_mode_rule(w, w.USE_DAEMON_BAT_TICKBOX, w.USE_QT_BAT_TICKBOX);
}

}  // namespace zvkob
