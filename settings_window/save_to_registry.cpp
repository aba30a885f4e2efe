#include "settings_window/save_to_registry.hpp"

#include <string>

#include "core/settings_access.hpp"
#include "settings_window/command_fragments.hpp"
#include "settings_window/settings_window.hpp"
#include "settings_window/typed_fields.hpp"
#include "core/unsaved_settings.hpp"

namespace zvkob {
namespace {

void save_fields(SettingsWindow& w, UnsavedSettings& unsaved) {
    SettingsStore& store = w.services.store;
    unsaved.note(keys::settings_left, save_twips(store, keys::settings_left, w.frame.left()));
    unsaved.note(keys::settings_top, save_twips(store, keys::settings_top, w.frame.top()));
    const std::pair<const SettingKey&, const TextBox&> texts[] = {
        {keys::zv_kob_location, w.ZV_KOB_LOCATION_TEXTBOX},
        {keys::blockchain_folder, w.BLOCKCHAIN_FOLDER_TEXTBOX},
        {keys::conf_location, w.CONF_LOCATION_TEXTBOX},
        {keys::qt_location, w.QT_LOCATION_TEXTBOX},
        {keys::qt_name, w.QT_NAME_TEXTBOX},
        {keys::daemon_location, w.DAEMON_LOCATION_TEXTBOX},
        {keys::daemon_name, w.DAEMOND_NAME_TEXTBOX},
    };
    for (const auto& [key, box] : texts) {
        unsaved.note(key, save_text(store, key, box.text()));
    }
    unsaved.note(keys::wallet, save_tick(store, keys::wallet, w.WALLET_TICKBOX.tick()));
    unsaved.note(keys::disable_wallet,
                 save_tick(store, keys::disable_wallet, w.DISABLE_WALLET_TICKBOX.tick()));
    unsaved.note(keys::disable_wallet_argument,
                 save_text(store, keys::disable_wallet_argument,
                           w.DASH_DISABLE_WALLET_EQUALS_TEXTBOX.text()));
    unsaved.note(keys::always_on_top,
                 save_tick(store, keys::always_on_top, w.AlwaysOnTopTimer_TICKBOX.tick()));
}

std::string batch_file_path(const SettingsWindow& w, std::string_view file_name) {
    return w.ZV_KOB_LOCATION_TEXTBOX.text() + std::string(fragments::BACKSLASH_TEXTBOX) +
           std::string(file_name);
}

// From here on the main window's watcher and launcher use the new names and paths.
void hand_over_to_main_window(SettingsWindow& w) {
    w.BAT_QT_RUN_COMMAND_TEXTBOX.set_text(batch_file_path(w, fragments::ZVKOB_QT_FILENAME_TEXTBOX));
    w.main.BAT_QT_RUN_COMMAND_TEXTBOX.set_text(w.BAT_QT_RUN_COMMAND_TEXTBOX.text());
    w.BAT_DAEMON_RUN_COMMAND_TEXTBOX.set_text(
        batch_file_path(w, fragments::ZVKOB_D_FILENAME_TEXTBOX));
    w.main.BAT_DAEMON_RUN_COMMAND_TEXTBOX.set_text(w.BAT_DAEMON_RUN_COMMAND_TEXTBOX.text());
    w.main.QT_NAME_TEXTBOX.set_text(w.QT_NAME_TEXTBOX.text());
    w.main.DAEMOND_NAME_TEXTBOX.set_text(w.DAEMOND_NAME_TEXTBOX.text());
}

}  // namespace

void save_to_registry(SettingsWindow& w) {
    if (const auto refused = typed_fields_refusal(w)) {
        w.services.notifier.show_error(*refused + "\n\nNothing was saved.");
        return;
    }
    UnsavedSettings unsaved;
    save_fields(w, unsaved);
    hand_over_to_main_window(w);
    SettingsStore& store = w.services.store;
    // The main window starts from these keys: they hold the batch file paths it
    // was handed, also should ZV-KOB end without its unload.
    unsaved.note(keys::bat_qt_run_command,
                 save_text(store, keys::bat_qt_run_command, w.BAT_QT_RUN_COMMAND_TEXTBOX.text()));
    unsaved.note(keys::bat_daemon_run_command, save_text(store, keys::bat_daemon_run_command,
                                                         w.BAT_DAEMON_RUN_COMMAND_TEXTBOX.text()));
    if (!unsaved.none()) {
        w.services.notifier.show_error(unsaved.outcome().reason());
        return;
    }
    w.CLOSE_BUTTON.set_text("Close");
}

}  // namespace zvkob
