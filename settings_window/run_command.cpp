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
    return std::string(fragments::quote) + std::string(value) + std::string(trailing, '\\') +
           std::string(fragments::quote);
}

std::string compose_run_command(const RunCommandFields& f) {
    std::string line;
    line += fragments::call;
    line += fragments::quote;
    line += program_path(f);
    line += fragments::quote;
    line += fragments::conf_option;
    line += command_line_value(f.conf_file);
    line += fragments::space;
    line += fragments::datadir_option;
    line += command_line_value(f.data_folder);
    line += f.disable_wallet_argument;
    return line;
}

RunCommandFields qt_run_command_fields(const SettingsWindow& w) {
    return {w.qt_folder.text(), w.qt_file.text(), w.conf_file.text(), w.data_folder.text(),
            w.wallet_argument};
}

RunCommandFields daemon_run_command_fields(const SettingsWindow& w) {
    return {w.daemon_folder.text(), w.daemon_file.text(), w.conf_file.text(), w.data_folder.text(),
            w.wallet_argument};
}

std::string program_path(const RunCommandFields& fields) {
    return std::string(fields.program_folder) + std::string(fragments::backslash) +
           std::string(fields.program_file);
}

void compose_qt_run_command(SettingsWindow& w) {
    w.qt_run_command.set_text(compose_run_command(qt_run_command_fields(w)));
}

void compose_daemon_run_command(SettingsWindow& w) {
    w.daemon_run_command.set_text(compose_run_command(daemon_run_command_fields(w)));
}

}  // namespace zvkob
