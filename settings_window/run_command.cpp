#include "settings_window/run_command.hpp"

#include "settings_window/command_fragments.hpp"
#include "settings_window/settings_window.hpp"

namespace zvkob {
namespace {

// Blanks split an argument; the others mean something to the command interpreter.
constexpr std::string_view needs_quotes = " \t&|<>^(),;=";

}  // namespace

std::string command_line_value(std::string_view value) {
    if (value.find_first_of(needs_quotes) == std::string_view::npos) {
        return std::string(value);
    }
    // A backslash before the closing quote would escape it: n backslashes
    // there must be written as 2n.
    const auto last_other = value.find_last_not_of('\\');
    const std::size_t trailing =
        last_other == std::string_view::npos ? value.size() : value.size() - last_other - 1;
    return std::string(fragments::SM_TB) + std::string(value) + std::string(trailing, '\\') +
           std::string(fragments::SM_TB);
}

std::string compose_run_command(const RunCommandFields& f) {
    std::string line;
    line += fragments::CALL_COMMAND_TEXTBOX;
    line += fragments::SM_TB;
    line += f.program_folder;
    line += fragments::BACKSLASH_TEXTBOX;
    line += f.program_file;
    line += fragments::SM_TB;
    line += fragments::DASH_CONF_TEXTBOX;
    line += command_line_value(f.conf_file);
    line += fragments::SPACEBAR_TEXTBOX;
    line += fragments::DATADIR_EQUALS_TEXTBOX;
    line += command_line_value(f.data_folder);
    line += f.disable_wallet_argument;
    return line;
}

RunCommandFields qt_run_command_fields(const SettingsWindow& w) {
    return {w.QT_LOCATION_TEXTBOX.text(), w.QT_NAME_TEXTBOX.text(), w.CONF_LOCATION_TEXTBOX.text(),
            w.BLOCKCHAIN_FOLDER_TEXTBOX.text(), w.DASH_DISABLE_WALLET_EQUALS_TEXTBOX.text()};
}

RunCommandFields daemon_run_command_fields(const SettingsWindow& w) {
    return {w.DAEMON_LOCATION_TEXTBOX.text(), w.DAEMOND_NAME_TEXTBOX.text(),
            w.CONF_LOCATION_TEXTBOX.text(), w.BLOCKCHAIN_FOLDER_TEXTBOX.text(),
            w.DASH_DISABLE_WALLET_EQUALS_TEXTBOX.text()};
}

void compose_qt_run_command(SettingsWindow& w) {
    w.ZV_QT_COMMAND_TEXTBOX.set_text(compose_run_command(qt_run_command_fields(w)));
}

void compose_daemon_run_command(SettingsWindow& w) {
    w.ZV_D_COMMAND_TEXTBOX.set_text(compose_run_command(daemon_run_command_fields(w)));
}

}  // namespace zvkob
