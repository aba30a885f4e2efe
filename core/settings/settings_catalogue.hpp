#pragma once
#include <array>
#include <string_view>

namespace zvkob {

// How a stored value is read back; see setting_text.hpp.
enum class SettingKind { text, tick, position, size };

// The window in which the user changes a setting.
enum class SettingOwner { main_window, settings_window };

// When a stored setting is read or written.
enum SettingUse : unsigned {
    read_at_main_load = 1U << 0,            // when the main window opens
    written_at_main_unload = 1U << 1,       // when it closes
    read_at_settings_opening = 1U << 2,     // at every opening of the settings window
    written_at_settings_close = 1U << 3,    // whenever it closes
    written_at_save_to_registry = 1U << 4,  // by Save To Registry
};

// One value the program keeps in the store of its copy, declared once. The
// key is data that installations hold: it never changes.
struct StoredSetting {
    std::string_view key;
    SettingKind kind;
    std::string_view default_text;
    SettingOwner owner;
    unsigned uses;  // SettingUse flags
    // Not written while the store has none and it still holds its default:
    // a copy that never used it stores exactly what it did before it existed.
    bool stored_once_changed = false;
};

namespace stored {
using enum SettingKind;
using enum SettingOwner;
// Read when the main window opens and written when it closes.
inline constexpr unsigned main_load_and_unload = read_at_main_load | written_at_main_unload;
inline constexpr unsigned settings_position =
    read_at_settings_opening | written_at_settings_close | written_at_save_to_registry;
inline constexpr unsigned settings_field = read_at_settings_opening | written_at_save_to_registry;
inline constexpr unsigned everywhere = read_at_main_load | written_at_main_unload |
                                       read_at_settings_opening | written_at_save_to_registry;

// The main window.
inline constexpr StoredSetting main_left{"MAIN-Left", position, "1000", main_window,
                                         main_load_and_unload};
inline constexpr StoredSetting main_top{"MAIN-Top", position, "1000", main_window,
                                        main_load_and_unload};
inline constexpr StoredSetting main_width{"MAIN-Width", size, "4530", main_window,
                                          read_at_main_load};
inline constexpr StoredSetting main_height{"MAIN-Height", size, "2565", main_window,
                                           read_at_main_load};
inline constexpr StoredSetting qt_chosen{"USE_QT_BAT_TICKBOX", tick, "0", main_window,
                                         main_load_and_unload};
inline constexpr StoredSetting daemon_chosen{"USE_DAEMON_BAT_TICKBOX", tick, "0", main_window,
                                             main_load_and_unload};
inline constexpr StoredSetting always_on_top{"AlwaysOnTopTimer_TICKBOX", tick, "1", main_window,
                                             everywhere};
inline constexpr StoredSetting auto_start{"AUTOSTART_TICKBOX", tick, "0", main_window,
                                          main_load_and_unload};
inline constexpr StoredSetting auto_close{"AUTOCLOSE_TIMER_TICKBOX", tick, "0", main_window,
                                          main_load_and_unload};
// The batch files the main window starts the programs with (Save To Registry sets them).
inline constexpr StoredSetting qt_batch_path{"BAT_QT_RUN_COMMAND_TEXTBOX", text, "", main_window,
                                             main_load_and_unload | written_at_save_to_registry};
inline constexpr StoredSetting daemon_batch_path{
    "BAT_DAEMON_RUN_COMMAND_TEXTBOX", text, "", main_window,
    main_load_and_unload | written_at_save_to_registry};

// The settings window; the main window watches for the two image names.
inline constexpr StoredSetting qt_image{"QT_NAME_TEXTBOX", text, "", settings_window, everywhere};
inline constexpr StoredSetting daemon_image{"DAEMOND_NAME_TEXTBOX", text, "", settings_window,
                                            everywhere};
inline constexpr StoredSetting settings_left{"SETTINGS-Left", position, "1000", settings_window,
                                             settings_position};
inline constexpr StoredSetting settings_top{"SETTINGS-Top", position, "1000", settings_window,
                                            settings_position};
inline constexpr StoredSetting settings_width{"SETTINGS-Width", size, "12105", settings_window,
                                              read_at_settings_opening};
inline constexpr StoredSetting settings_height{"SETTINGS-Height", size, "6750", settings_window,
                                               read_at_settings_opening};
inline constexpr StoredSetting program_folder{"ZV_KOB_LOCATION_TEXTBOX", text, "", settings_window,
                                              settings_field};
// The main window reads the data folder too: the node's own log is there.
inline constexpr StoredSetting data_folder{"BLOCKCHAIN_FOLDER_TEXTBOX", text, "", settings_window,
                                           settings_field | read_at_main_load};
inline constexpr StoredSetting conf_file{"CONF_LOCATION_TEXTBOX", text, "", settings_window,
                                         settings_field};
inline constexpr StoredSetting qt_folder{"QT_LOCATION_TEXTBOX", text, "", settings_window,
                                         settings_field};
inline constexpr StoredSetting daemon_folder{"DAEMON_LOCATION_TEXTBOX", text, "", settings_window,
                                             settings_field};
inline constexpr StoredSetting wallet{"WALLET_TICKBOX", tick, "0", settings_window, settings_field};
inline constexpr StoredSetting wallet_disabled{"DISABLE_WALLET_TICKBOX", tick, "0", settings_window,
                                               settings_field};
inline constexpr StoredSetting wallet_argument{"DASH_DISABLE_WALLET_EQUALS_TEXTBOX", text, "",
                                               settings_window, settings_field};

// Guarding the node: ticks of the main window's menu, off until the user
// turns them on, and stored only once changed.
constexpr StoredSetting guarding_tick(std::string_view key) {
    return {key, tick, "0", main_window, main_load_and_unload, true};
}
inline constexpr StoredSetting keep_node_running = guarding_tick("KEEP_NODE_RUNNING");
// Showing what the node's own log says only reads: it is on until turned off,
// and stored only once changed.
inline constexpr StoredSetting node_progress{"NODE_PROGRESS",      tick, "1", main_window,
                                             main_load_and_unload, true};
inline constexpr StoredSetting safe_sign_out = guarding_tick("SAFE_SIGN_OUT");
inline constexpr StoredSetting check_data_drive = guarding_tick("CHECK_DATA_DRIVE");
inline constexpr StoredSetting notification_area = guarding_tick("NOTIFICATION_AREA");
inline constexpr StoredSetting keep_awake = guarding_tick("KEEP_AWAKE");
inline constexpr StoredSetting battery_stop = guarding_tick("BATTERY_STOP");
inline constexpr StoredSetting node_low_priority = guarding_tick("NODE_LOW_PRIORITY");
inline constexpr StoredSetting metered_pause = guarding_tick("METERED_PAUSE");
// The folder the last wallet backup went to: the folder dialog opens there.
inline constexpr StoredSetting backup_folder{"BACKUP_FOLDER",      text, "", main_window,
                                             main_load_and_unload, true};
}  // namespace stored

// Every stored setting, in the order the program reads and writes them: the
// main window's own first, in the order its unload has always written them.
inline constexpr std::array<const StoredSetting*, 35> setting_catalogue{
    &stored::main_left,
    &stored::main_top,
    &stored::main_width,
    &stored::main_height,
    &stored::qt_chosen,
    &stored::daemon_chosen,
    &stored::always_on_top,
    &stored::auto_start,
    &stored::auto_close,
    &stored::qt_batch_path,
    &stored::daemon_batch_path,
    &stored::qt_image,
    &stored::daemon_image,
    &stored::settings_left,
    &stored::settings_top,
    &stored::settings_width,
    &stored::settings_height,
    &stored::program_folder,
    &stored::data_folder,
    &stored::conf_file,
    &stored::qt_folder,
    &stored::daemon_folder,
    &stored::wallet,
    &stored::wallet_disabled,
    &stored::wallet_argument,
    &stored::keep_node_running,
    &stored::safe_sign_out,
    &stored::check_data_drive,
    &stored::node_progress,
    &stored::notification_area,
    &stored::keep_awake,
    &stored::backup_folder,
    &stored::battery_stop,
    &stored::node_low_priority,
    &stored::metered_pause,
};

}  // namespace zvkob
