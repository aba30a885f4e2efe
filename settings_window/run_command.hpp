#pragma once
#include <string>
#include <string_view>

namespace zvkob {

class SettingsWindow;

// What one node run command is made of.
struct RunCommandFields {
    std::string_view program_folder;
    std::string_view program_file;
    std::string_view conf_file;
    std::string_view data_folder;
    std::string_view disable_wallet_argument;
};

// The text after "-conf=" or "-datadir=". A value with a space or a character
// the command interpreter treats specially is put in double quotes, with any
// trailing backslashes doubled so that the closing quote still ends it; every
// other value is inserted exactly as typed.
std::string command_line_value(std::string_view value);

// call "FOLDER\FILE" -conf=CONF -datadir=DATA followed by the disable-wallet argument.
std::string compose_run_command(const RunCommandFields& fields);

// The program's full path: its folder and file name joined by a backslash.
std::string program_path(const RunCommandFields& fields);

RunCommandFields qt_run_command_fields(const SettingsWindow& window);
RunCommandFields daemon_run_command_fields(const SettingsWindow& window);

// The composer timers' ticks: rewrite one command field from the current texts.
void compose_qt_run_command(SettingsWindow& window);
void compose_daemon_run_command(SettingsWindow& window);

}  // namespace zvkob
