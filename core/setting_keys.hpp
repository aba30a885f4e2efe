#pragma once
#include <string_view>

namespace zvkob {

// How a stored value is read back; see setting_text.hpp.
enum class SettingKind { position, size, tick, text };

struct SettingKey {
    std::string_view name;
    SettingKind kind;
    std::string_view default_text;
};

// Every key the program stores, with its kind and default. Apart from the
// geometry keys, a key is the name of the control whose value it holds.
namespace keys {
inline constexpr SettingKey main_left{"MAIN-Left", SettingKind::position, "1000"};
inline constexpr SettingKey main_top{"MAIN-Top", SettingKind::position, "1000"};
inline constexpr SettingKey main_width{"MAIN-Width", SettingKind::size, "4530"};
inline constexpr SettingKey main_height{"MAIN-Height", SettingKind::size, "2565"};
inline constexpr SettingKey use_qt_bat{"USE_QT_BAT_TICKBOX", SettingKind::tick, "0"};
inline constexpr SettingKey use_daemon_bat{"USE_DAEMON_BAT_TICKBOX", SettingKind::tick, "0"};
inline constexpr SettingKey autostart{"AUTOSTART_TICKBOX", SettingKind::tick, "0"};
inline constexpr SettingKey autoclose{"AUTOCLOSE_TIMER_TICKBOX", SettingKind::tick, "0"};
inline constexpr SettingKey always_on_top{"AlwaysOnTopTimer_TICKBOX", SettingKind::tick, "1"};
inline constexpr SettingKey bat_qt_run_command{"BAT_QT_RUN_COMMAND_TEXTBOX", SettingKind::text, ""};
inline constexpr SettingKey bat_daemon_run_command{"BAT_DAEMON_RUN_COMMAND_TEXTBOX",
                                                   SettingKind::text, ""};
inline constexpr SettingKey qt_name{"QT_NAME_TEXTBOX", SettingKind::text, ""};
inline constexpr SettingKey daemon_name{"DAEMOND_NAME_TEXTBOX", SettingKind::text, ""};

inline constexpr SettingKey settings_left{"SETTINGS-Left", SettingKind::position, "1000"};
inline constexpr SettingKey settings_top{"SETTINGS-Top", SettingKind::position, "1000"};
inline constexpr SettingKey settings_width{"SETTINGS-Width", SettingKind::size, "12105"};
inline constexpr SettingKey settings_height{"SETTINGS-Height", SettingKind::size, "6750"};
inline constexpr SettingKey zv_kob_location{"ZV_KOB_LOCATION_TEXTBOX", SettingKind::text, ""};
inline constexpr SettingKey blockchain_folder{"BLOCKCHAIN_FOLDER_TEXTBOX", SettingKind::text, ""};
inline constexpr SettingKey conf_location{"CONF_LOCATION_TEXTBOX", SettingKind::text, ""};
inline constexpr SettingKey daemon_location{"DAEMON_LOCATION_TEXTBOX", SettingKind::text, ""};
inline constexpr SettingKey qt_location{"QT_LOCATION_TEXTBOX", SettingKind::text, ""};
inline constexpr SettingKey wallet{"WALLET_TICKBOX", SettingKind::tick, "0"};
inline constexpr SettingKey disable_wallet{"DISABLE_WALLET_TICKBOX", SettingKind::tick, "0"};
inline constexpr SettingKey disable_wallet_argument{"DASH_DISABLE_WALLET_EQUALS_TEXTBOX",
                                                    SettingKind::text, ""};
}  // namespace keys

}  // namespace zvkob
