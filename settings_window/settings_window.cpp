#include "settings_window/settings_window.hpp"

#include "settings_window/settings_window_events.hpp"
#include "settings_window/settings_window_layout.hpp"

namespace zvkob {

SettingsWindow::SettingsWindow(const SettingsWindowServices& services_, HandOverReceiver& main_)
    : services(services_),
      main(main_),
      controls(settings_window_layout()),
      credit_line(controls.of(settings_layout::credit_line)),
      program_folder(controls.of(settings_layout::program_folder)),
      conf_file(controls.of(settings_layout::conf_file)),
      data_folder(controls.of(settings_layout::data_folder)),
      qt_folder(controls.of(settings_layout::qt_folder)),
      daemon_folder(controls.of(settings_layout::daemon_folder)),
      qt_file(controls.of(settings_layout::qt_file)),
      daemon_file(controls.of(settings_layout::daemon_file)),
      qt_run_command(controls.of(settings_layout::qt_run_command)),
      daemon_run_command(controls.of(settings_layout::daemon_run_command)),
      always_on_top(controls.tickbox_of(settings_layout::always_on_top)),
      wallet(controls.tickbox_of(settings_layout::wallet)),
      wallet_disabled(controls.tickbox_of(settings_layout::wallet_disabled)),
      save_to_registry_button(controls.of(settings_layout::save_to_registry_button)),
      save_bat_files_button(controls.of(settings_layout::save_bat_files_button)),
      close_button(controls.of(settings_layout::close_button)) {
    frame.set_caption(controls.design().caption);
    wire_settings_window_events(*this);
}

SettingFields SettingsWindow::stored_fields() {
    SettingFields fields{
        {&stored::always_on_top, &always_on_top},
        {&stored::qt_image, &qt_file},
        {&stored::daemon_image, &daemon_file},
        {&stored::settings_left, FrameEdge{&frame, FrameEdge::left}},
        {&stored::settings_top, FrameEdge{&frame, FrameEdge::top}},
        {&stored::settings_width, FrameEdge{&frame, FrameEdge::width}},
        {&stored::settings_height, FrameEdge{&frame, FrameEdge::height}},
        {&stored::program_folder, &program_folder},
        {&stored::data_folder, &data_folder},
        {&stored::conf_file, &conf_file},
        {&stored::qt_folder, &qt_folder},
        {&stored::daemon_folder, &daemon_folder},
        {&stored::wallet, &wallet},
        {&stored::wallet_disabled, &wallet_disabled},
        {&stored::wallet_argument, &wallet_argument},
    };
    if (batch_paths) {
        fields.push_back({&stored::qt_batch_path, &batch_paths->qt});
        fields.push_back({&stored::daemon_batch_path, &batch_paths->daemon});
    }
    return fields;
}

}  // namespace zvkob
