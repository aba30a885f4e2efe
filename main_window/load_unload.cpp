#include "main_window/load_unload.hpp"

#include <string>
#include <utility>

#include "core/settings_access.hpp"
#include "core/unsaved_settings.hpp"
#include "core/setting_text.hpp"
#include "main_window/always_on_top.hpp"
#include "main_window/countdown.hpp"
#include "main_window/main_window_layout.hpp"

namespace zvkob {
namespace {

void settle_without_launch_mode(MainWindow& w) {
    w.START_STOP_BUTTON.set_text("START");
    w.LAUNCH_BUTTON.set_enabled(false);
    w.USE_QT_BAT_TICKBOX.set_enabled(true);
    w.USE_DAEMON_BAT_TICKBOX.set_enabled(true);
    w.AUTOSTART_TICKBOX.set_enabled(false);
    w.AUTOCLOSE_TIMER_TICKBOX.set_enabled(false);
}

void arm_automatic_start(MainWindow& w) {
    lock_for_countdown(w, true);
    w.COUNTDOWN_TIMER.set_enabled(true);
    w.START_STOP_BUTTON.set_text("STOP");
    if (w.USE_QT_BAT_TICKBOX.tick() == 1) {
        w.USE_DAEMON_BAT_TICKBOX.set_enabled(false);
        w.USE_DAEMON_BAT_TICKBOX.set_tick(0);
        w.USE_QT_BAT_TICKBOX.set_enabled(false);
    }
    if (w.USE_DAEMON_BAT_TICKBOX.tick() == 1) {
        w.USE_QT_BAT_TICKBOX.set_enabled(false);
        w.USE_QT_BAT_TICKBOX.set_tick(0);
        w.USE_DAEMON_BAT_TICKBOX.set_enabled(false);
    }
}

void settle_launch_mode_without_autostart(MainWindow& w) {
    w.SETTINGS_BUTTON.set_enabled(true);
    w.LAUNCH_BUTTON.set_enabled(true);
    w.USE_QT_BAT_TICKBOX.set_enabled(true);
    w.USE_DAEMON_BAT_TICKBOX.set_enabled(true);
    w.COUNTDOWN_TIMER.set_enabled(false);
    w.START_STOP_BUTTON.set_text("START");
}

}  // namespace

void load_main_window(MainWindow& w) {
    SettingsStore& store = w.services.store;

    restore_geometry(store, {keys::main_left, keys::main_top, keys::main_width, keys::main_height},
                     w.frame);
    w.frame.set_caption(main_window_caption(w.instance_name));
    w.APP_EXE_NAME_LABEL.set_text(w.instance_name);

    // Each restored tick that differs from the design tick runs that tickbox's rule.
    w.USE_QT_BAT_TICKBOX.set_tick(read_tick(store, keys::use_qt_bat));
    w.USE_DAEMON_BAT_TICKBOX.set_tick(read_tick(store, keys::use_daemon_bat));
    w.AUTOSTART_TICKBOX.set_tick(read_tick(store, keys::autostart));
    w.AUTOCLOSE_TIMER_TICKBOX.set_tick(read_tick(store, keys::autoclose));
    w.AlwaysOnTopTimer_TICKBOX.set_tick(read_tick(store, keys::always_on_top));

    w.BAT_QT_RUN_COMMAND_TEXTBOX.set_text(read_text(store, keys::bat_qt_run_command));
    w.BAT_DAEMON_RUN_COMMAND_TEXTBOX.set_text(read_text(store, keys::bat_daemon_run_command));
    w.QT_NAME_TEXTBOX.set_text(read_text(store, keys::qt_name));
    w.DAEMOND_NAME_TEXTBOX.set_text(read_text(store, keys::daemon_name));

    w.COUNTDOWN_REMAINING = countdown_start_days;
    w.AlwaysOnTopTimer.set_interval(1000);
    w.COUNTDOWN_TIMER.set_interval(1000);
    w.KOB_PROCESS_WATCHER_TIMER.set_interval(500);
    w.KOB_PROCESS_WATCHER_TIMER.set_enabled(true);
    w.UNLOAD_TIMER.set_interval(10000);
    switch_always_on_top(w, w.AlwaysOnTopTimer_TICKBOX.tick() == 1);

    if (w.USE_QT_BAT_TICKBOX.tick() == 0 && w.USE_DAEMON_BAT_TICKBOX.tick() == 0) {
        settle_without_launch_mode(w);
    } else if (w.AUTOSTART_TICKBOX.tick() == 1) {
        arm_automatic_start(w);
    } else {
        settle_launch_mode_without_autostart(w);
    }
}

Outcome unload_main_window(MainWindow& w) {
    const std::pair<const SettingKey&, std::string> values[] = {
        {keys::main_left, twips_text(w.frame.left())},
        {keys::main_top, twips_text(w.frame.top())},
        {keys::use_qt_bat, tick_text(w.USE_QT_BAT_TICKBOX.tick())},
        {keys::use_daemon_bat, tick_text(w.USE_DAEMON_BAT_TICKBOX.tick())},
        {keys::always_on_top, tick_text(w.AlwaysOnTopTimer_TICKBOX.tick())},
        {keys::autostart, tick_text(w.AUTOSTART_TICKBOX.tick())},
        {keys::autoclose, tick_text(w.AUTOCLOSE_TIMER_TICKBOX.tick())},
        {keys::bat_qt_run_command, w.BAT_QT_RUN_COMMAND_TEXTBOX.text()},
        {keys::bat_daemon_run_command, w.BAT_DAEMON_RUN_COMMAND_TEXTBOX.text()},
        {keys::qt_name, w.QT_NAME_TEXTBOX.text()},
        {keys::daemon_name, w.DAEMOND_NAME_TEXTBOX.text()},
    };
    UnsavedSettings unsaved;
    for (const auto& [key, text] : values) {
        unsaved.note(key, w.services.store.save(key.name, text));
    }
    return unsaved.outcome();
}

}  // namespace zvkob
