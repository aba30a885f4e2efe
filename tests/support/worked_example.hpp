#pragma once
// The settings window's worked example, as its own captions give it: the
// node's folders and files, each with the field it is typed into and the key
// it is stored under, and the lines the batch files get from them (with the
// wallet argument a window that was never changed adds: " -disablewallet=0").
#include <array>
#include <string_view>

#include "settings_window/settings_window_layout.hpp"

namespace zvkob::testing::worked_example {

struct Field {
    const ControlSpec& design;
    std::string_view key;
    std::string_view value;
};

inline constexpr std::string_view qt_folder = "C:\\Program Files\\Bitcoin";
inline constexpr std::string_view daemon_folder = "C:\\Program Files\\Bitcoin\\Daemon";
inline constexpr std::string_view conf_file = "C:\\BC-CONF\\BTC\\bitcoin.conf";
inline constexpr std::string_view data_folder = "C:\\BC-ROOT\\BTC-BC";

inline constexpr std::array<Field, 6> fields{{
    {settings_layout::qt_folder, "QT_LOCATION_TEXTBOX", qt_folder},
    {settings_layout::qt_file, "QT_NAME_TEXTBOX", "bitcoin-qt.exe"},
    {settings_layout::daemon_folder, "DAEMON_LOCATION_TEXTBOX", daemon_folder},
    {settings_layout::daemon_file, "DAEMOND_NAME_TEXTBOX", "bitcoind.exe"},
    {settings_layout::conf_file, "CONF_LOCATION_TEXTBOX", conf_file},
    {settings_layout::data_folder, "BLOCKCHAIN_FOLDER_TEXTBOX", data_folder},
}};

inline constexpr std::string_view qt_line =
    "call \"C:\\Program Files\\Bitcoin\\bitcoin-qt.exe\" -conf=C:\\BC-CONF\\BTC\\bitcoin.conf "
    "-datadir=C:\\BC-ROOT\\BTC-BC";
inline constexpr std::string_view daemon_line =
    "call \"C:\\Program Files\\Bitcoin\\Daemon\\bitcoind.exe\" "
    "-conf=C:\\BC-CONF\\BTC\\bitcoin.conf -datadir=C:\\BC-ROOT\\BTC-BC";
inline constexpr std::string_view wallet_argument = " -disablewallet=0";

}  // namespace zvkob::testing::worked_example
