#include "settings_window/settings_window_layout.hpp"

namespace zvkob {

const WindowSpec& settings_window_layout() {
    using namespace settings_layout;
    static const WindowSpec layout{.name = "settings window",
                                   .caption = "TARLOWEN - ZV-KOB - SETTINGS",
                                   .border = Border::fixed_dialog,
                                   .minimize_box = false,
                                   .controls = {&title,
                                                &version,
                                                &credit_line,
                                                &program_folder_label,
                                                &copies_help,
                                                &program_folder,
                                                &conf_file_label,
                                                &data_folder_label,
                                                &conf_file,
                                                &data_folder,
                                                &qt_folder_label,
                                                &daemon_folder_label,
                                                &qt_folder,
                                                &daemon_folder,
                                                &qt_file_label,
                                                &daemon_file_label,
                                                &qt_file,
                                                &daemon_file,
                                                &qt_run_command_label,
                                                &qt_run_command,
                                                &daemon_run_command_label,
                                                &daemon_run_command,
                                                &always_on_top,
                                                &wallet,
                                                &wallet_disabled,
                                                &save_to_registry_button,
                                                &save_bat_files_button,
                                                &close_button,
                                                &rule_below_program_folder,
                                                &rule_below_node_files,
                                                &rule_below_programs,
                                                &rule_between_columns}};
    return layout;
}

}  // namespace zvkob
