#include "settings_window/open_unload.hpp"

#include "core/settings_access.hpp"
#include "settings_window/run_command.hpp"
#include "settings_window/settings_window.hpp"
#include "core/unsaved_settings.hpp"
#include "settings_window/wallet_options.hpp"

namespace zvkob {

void open_settings_window(SettingsWindow& w) {
    SettingsStore& store = w.services.store;

    restore_geometry(
        store,
        {keys::settings_left, keys::settings_top, keys::settings_width, keys::settings_height},
        w.frame);

    w.ZV_KOB_LOCATION_TEXTBOX.set_text(read_text(store, keys::zv_kob_location));
    w.BLOCKCHAIN_FOLDER_TEXTBOX.set_text(read_text(store, keys::blockchain_folder));
    w.CONF_LOCATION_TEXTBOX.set_text(read_text(store, keys::conf_location));
    w.DAEMON_LOCATION_TEXTBOX.set_text(read_text(store, keys::daemon_location));
    w.DAEMOND_NAME_TEXTBOX.set_text(read_text(store, keys::daemon_name));
    w.QT_LOCATION_TEXTBOX.set_text(read_text(store, keys::qt_location));
    w.QT_NAME_TEXTBOX.set_text(read_text(store, keys::qt_name));

    w.WALLET_TICKBOX.set_tick(read_tick(store, keys::wallet));
    w.DISABLE_WALLET_TICKBOX.set_tick(read_tick(store, keys::disable_wallet));
    w.DASH_DISABLE_WALLET_EQUALS_TEXTBOX.set_text(read_text(store, keys::disable_wallet_argument));
    // Ticked at design: a stored "0" runs the click rule and switches the
    // main window's always-on-top off.
    w.AlwaysOnTopTimer_TICKBOX.set_tick(read_tick(store, keys::always_on_top));

    w.QT_BAT_COMMAND_TIMER.set_interval(1000);
    w.QT_BAT_COMMAND_TIMER.set_enabled(true);
    w.DAEMON_BAT_COMMAND_TIMER.set_interval(1000);
    w.DAEMON_BAT_COMMAND_TIMER.set_enabled(true);

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
    UnsavedSettings unsaved;
    unsaved.note(keys::settings_left,
                 save_twips(w.services.store, keys::settings_left, w.frame.left()));
    unsaved.note(keys::settings_top,
                 save_twips(w.services.store, keys::settings_top, w.frame.top()));
    return unsaved.outcome();
}

}  // namespace zvkob
