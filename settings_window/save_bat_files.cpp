#include "settings_window/save_bat_files.hpp"

#include <optional>
#include <string>
#include <vector>

#include "platform/background_work.hpp"
#include "settings_window/field_checks.hpp"
#include "settings_window/command_fragments.hpp"
#include "settings_window/run_command.hpp"
#include "settings_window/settings_window.hpp"
#include "settings_window/typed_fields.hpp"

namespace zvkob {
namespace {

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
    return batch_line_refusal({"ZV-KOB FOLDER", w.batch_paths->folder});
}

std::optional<std::string> refusal(SettingsWindow& w) {
    if (auto refused = folder_refusal(w)) {
        return refused;
    }
    // The folder the files go to is the saved one, checked above, not the one typed.
    const auto fields = typed_fields(w);
    for (auto field = fields.begin() + 1; field != fields.end(); ++field) {
        if (auto refused = field_refusal(w, *field)) {
            return refused;
        }
    }
    if (auto refused = typed_fields_refusal(w)) {
        return refused;
    }
    if (auto refused = line_refusal(fragments::qt_batch_file, w.qt_run_command.text())) {
        return refused;
    }
    return line_refusal(fragments::daemon_batch_file, w.daemon_run_command.text());
}

// The program files the fields name, to be checked before the batch files are
// written.
std::vector<std::string> program_paths(SettingsWindow& w) {
    std::vector<std::string> paths;
    for (const RunCommandFields& program :
         {qt_run_command_fields(w), daemon_run_command_fields(w)}) {
        if (!program.program_file.empty()) {
            paths.push_back(program_path(program));
        }
    }
    return paths;
}

// On the worker: the folders may sit on a network path.
std::string missing_of(FileSystem& files, const std::vector<std::string>& paths) {
    std::string missing;
    for (const std::string& path : paths) {
        if (!files.is_file(path)) {
            missing += "\n" + path;
        }
    }
    return missing;
}

// The node may be installed after its batch files are written, so a program
// that is not there yet is a question, not a refusal.
void write_unless_declined(SettingsWindow& w, const BatchFile& qt, const BatchFile& daemon,
                           const std::string& missing) {
    if (!missing.empty() &&
        !w.services.notifier.ask("There is no program file at" + missing +
                                 "\n\nWrite the batch files anyway? (Choose Yes if you will "
                                 "install the node there later.)")) {
        return;
    }
    const Outcome written = w.services.batch_files.write_both(qt, daemon);
    if (!written) {
        w.services.history.record("The batch files could not be written: " + written.reason());
        w.services.notifier.show_error("ZV-KOB could not save the batch files.\n\n" +
                                       written.reason());
        return;
    }
    w.services.history.record("Batch files written: " + qt.path + " and " + daemon.path + ".");
    w.close_button.set_text("Close");
}

}  // namespace

void save_bat_files(SettingsWindow& w) {
    Notifier& notifier = w.services.notifier;
    if (!w.batch_paths) {
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
    // The files get the lines of this moment, once the program files are checked.
    const BatchFile qt{w.batch_paths->qt, w.qt_run_command.text()};
    const BatchFile daemon{w.batch_paths->daemon, w.daemon_run_command.text()};
    run_in_background<std::string>(
        w.services.background,
        [&files = w.services.files, paths = program_paths(w)] { return missing_of(files, paths); },
        [&w, qt, daemon](const std::string& missing) {
            write_unless_declined(w, qt, daemon, missing);
        },
        w.lifetime);
}

}  // namespace zvkob
