#include "settings_window/save_to_registry.hpp"

#include <string>

#include "settings_window/command_fragments.hpp"
#include "settings_window/settings_window.hpp"
#include "settings_window/typed_fields.hpp"

namespace zvkob {
namespace {

std::string batch_file_path(const SettingsWindow& w, std::string_view file_name) {
    return w.program_folder.text() + std::string(fragments::backslash) + std::string(file_name);
}

// From here on the main window's watcher and launcher use the new names and paths.
void hand_over_to_main_window(SettingsWindow& w) {
    w.batch_paths =
        BatchFilePaths{w.program_folder.text(), batch_file_path(w, fragments::qt_batch_file),
                       batch_file_path(w, fragments::daemon_batch_file)};
    w.main.take_over(
        {.programs = SavedPrograms{w.qt_file.text(), w.batch_paths->qt, w.daemon_file.text(),
                                   w.batch_paths->daemon, w.data_folder.text()}});
}

}  // namespace

void save_to_registry(SettingsWindow& w) {
    if (const auto refused = typed_fields_refusal(w)) {
        w.services.notifier.show_error(*refused + "\n\nNothing was saved.");
        return;
    }
    hand_over_to_main_window(w);
    // The keys the main window starts from hold the batch file paths it was
    // handed, also should ZV-KOB end without its unload.
    const Outcome saved =
        save_settings(w.services.store, written_at_save_to_registry, w.stored_fields());
    if (!saved) {
        w.services.history.record("Save To Registry: " + saved.reason());
        w.services.notifier.show_error(saved.reason());
        return;
    }
    w.services.history.record("Settings saved (Save To Registry).");
    w.close_button.set_text("Close");
}

}  // namespace zvkob
