#include "settings_window/open_unload.hpp"

#include "settings_window/run_command.hpp"
#include "settings_window/settings_window.hpp"
#include "settings_window/wallet_options.hpp"

namespace zvkob {

void open_settings_window(SettingsWindow& w) {
    // Each restored tick that differs from the design tick runs its rule:
    // a stored Always On Top "0" switches the main window's off.
    restore_settings(w.services.store, read_at_settings_opening, w.stored_fields());
    for (Timer* timer : w.timers()) {
        timer->set_interval(1000);
        timer->set_enabled(true);
    }
    reconcile_wallet_options(w);
    // The window never shows, stores or writes empty run commands, not even
    // in its first second.
    compose_qt_run_command(w);
    compose_daemon_run_command(w);
}

Outcome unload_settings_window(SettingsWindow& w) {
    for (Timer* timer : w.timers()) {
        timer->set_enabled(false);
    }
    return save_settings(w.services.store, written_at_settings_close, w.stored_fields());
}

}  // namespace zvkob
