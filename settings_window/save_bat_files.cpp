#include "settings_window/save_bat_files.hpp"

#include <optional>
#include <string>

#include "settings_window/batch_line_check.hpp"
#include "settings_window/command_fragments.hpp"
#include "settings_window/run_command.hpp"
#include "settings_window/settings_window.hpp"

namespace zvkob {
namespace {

// Until Save To Registry sets them, the path fields hold their own names.
bool batch_file_paths_set(const SettingsWindow& w) {
    return w.BAT_QT_RUN_COMMAND_TEXTBOX.text() != w.BAT_QT_RUN_COMMAND_TEXTBOX.name() &&
           w.BAT_DAEMON_RUN_COMMAND_TEXTBOX.text() != w.BAT_DAEMON_RUN_COMMAND_TEXTBOX.name();
}

std::optional<std::string> field_refusal(SettingsWindow& w, const LineField& field) {
    if (auto refused = batch_line_refusal(field)) {
        return refused;
    }
    if (const auto missing = w.services.batch_files.unwritable_character(field.text)) {
        return "The " + std::string(field.name) + " contains the character " + *missing +
               ", which a batch file cannot hold: the command interpreter reads batch files in "
               "code page " +
               std::to_string(w.services.batch_files.code_page()) + ".";
    }
    return std::nullopt;
}

std::optional<std::string> line_refusal(std::string_view file_name, std::string_view line) {
    const std::size_t length = character_count(line);
    if (length <= longest_command_line) {
        return std::nullopt;
    }
    return "The run command for " + std::string(file_name) + " is " + std::to_string(length) +
           " characters long; the command interpreter takes at most " +
           std::to_string(longest_command_line) + ".";
}

// The folder the batch files go to, as the last Save To Registry set it. The
// interpreter runs the batch file by this path, and would change a percent
// sign or a caret in it even inside quotes.
std::optional<std::string> folder_refusal(const SettingsWindow& w) {
    const std::string& path = w.BAT_QT_RUN_COMMAND_TEXTBOX.text();
    return batch_line_refusal(
        {"ZV-KOB FOLDER", std::string_view(path).substr(0, path.rfind('\\'))});
}

std::optional<std::string> refusal(SettingsWindow& w) {
    if (auto refused = folder_refusal(w)) {
        return refused;
    }
    const LineField fields[] = {
        {"QT Folder", w.QT_LOCATION_TEXTBOX.text()},
        {"QT Filename", w.QT_NAME_TEXTBOX.text()},
        {"DAEMON Folder", w.DAEMON_LOCATION_TEXTBOX.text()},
        {"DAEMON Filename", w.DAEMOND_NAME_TEXTBOX.text()},
        {"WALLET.CONF File Location", w.CONF_LOCATION_TEXTBOX.text()},
        {"BLOCKCHAIN FOLDER", w.BLOCKCHAIN_FOLDER_TEXTBOX.text()},
    };
    for (const LineField& field : fields) {
        if (auto refused = field_refusal(w, field)) {
            return refused;
        }
    }
    if (auto refused =
            line_refusal(fragments::ZVKOB_QT_FILENAME_TEXTBOX, w.ZV_QT_COMMAND_TEXTBOX.text())) {
        return refused;
    }
    return line_refusal(fragments::ZVKOB_D_FILENAME_TEXTBOX, w.ZV_D_COMMAND_TEXTBOX.text());
}

}  // namespace

void save_bat_files(SettingsWindow& w) {
    Notifier& notifier = w.services.notifier;
    if (!batch_file_paths_set(w)) {
        notifier.show_error(
            "Please press \"Save To Registry\" first: it sets the folder the batch files go "
            "to.\n\nNo batch file was written.");
        return;
    }
    // The files get exactly what the fields say now, and the window shows it.
    compose_qt_run_command(w);
    compose_daemon_run_command(w);
    if (const auto refused = refusal(w)) {
        notifier.show_error(*refused + "\n\nNo batch file was written.");
        return;
    }
    const Outcome written = w.services.batch_files.write_both(
        {w.BAT_QT_RUN_COMMAND_TEXTBOX.text(), w.ZV_QT_COMMAND_TEXTBOX.text()},
        {w.BAT_DAEMON_RUN_COMMAND_TEXTBOX.text(), w.ZV_D_COMMAND_TEXTBOX.text()});
    if (!written) {
        notifier.show_error("ZV-KOB could not save the batch files.\n\n" + written.reason());
        return;
    }
    w.CLOSE_BUTTON.set_text("Close");
}

}  // namespace zvkob
