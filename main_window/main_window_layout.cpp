#include "main_window/main_window_layout.hpp"

namespace zvkob {

const WindowSpec& main_window_layout() {
    using namespace main_layout;
    static const WindowSpec layout{
        .name = "main window",
        .caption = "TARLOWEN - ZV-KOB - ",
        .border = Border::fixed_single,
        .minimize_box = true,
        .controls = {&daemon_image_copy,
                     &qt_image_copy,
                     &daemon_batch_path_copy,
                     &qt_batch_path_copy,
                     &unused_daemon_command,
                     &unused_qt_command,
                     &always_on_top,
                     &settings_button,
                     &inert_automation_fix,
                     &launch_button,
                     &daemon_chosen,
                     &qt_chosen,
                     &inert_run_bat,
                     &inert_run_exe,
                     &inert_daemon_exe,
                     &inert_qt_exe,
                     &start_stop_button,
                     &auto_start,
                     &auto_close,
                     &countdown_display,
                     &daemon_status,
                     &qt_status,
                     &title,
                     &instance_label},
        .window_menu = {&keep_node_running, &safe_sign_out, &check_data_drive, &start_with_windows,
                        &before_sign_in, &show_progress, &show_in_notification_area, &keep_awake, &battery_stop,
                        &metered_pause, &low_priority, &stop_node, &back_up_wallets,
                        &history_command, &copy_report}};
    return layout;
}

std::string main_window_caption(std::string_view instance_name) {
    return std::string(main_window_layout().caption) + std::string(instance_name);
}

}  // namespace zvkob
