#include "main_window/main_window.hpp"

#include "core/service/service_rules.hpp"
#include "main_window/always_on_top.hpp"
#include "main_window/beside_the_service.hpp"
#include "main_window/main_window_events.hpp"
#include "main_window/main_window_layout.hpp"

namespace zvkob {

NodeProgram::NodeProgram(GuardedProgram& guarded_, Tickbox& chosen_, Label& status_label,
                         TextBox& image_copy, TextBox& batch_path_copy)
    : guarded(guarded_),
      name(guarded_.name),
      runs_in_console(guarded_.runs_in_console),
      chosen(chosen_),
      status(guarded_.seen, status_label, "!!! " + std::string(name) + " RUNNING !!!",
             "!!! " + std::string(name) + " STOPPED !!!"),
      image(guarded_.image),
      batch_path(guarded_.batch_path),
      running_since_ms(guarded_.running_since_ms),
      node(guarded_.node),
      image_copy_(image_copy),
      batch_path_copy_(batch_path_copy) {
    guarded.chosen = [&chosen_] { return chosen_.ticked(); };
}

void NodeProgram::show_copies() {
    image_copy_.set_text(image);
    batch_path_copy_.set_text(batch_path);
}

MainWindow::MainWindow(const MainWindowServices& services_, std::string instance_name_)
    : services(services_),
      instance_name(std::move(instance_name_)),
      service_name(zvkob::service_name(instance_name, services.node_service.user_name())),
      controls(main_window_layout()),
      always_on_top(controls.tickbox_of(main_layout::always_on_top)),
      settings_button(controls.of(main_layout::settings_button)),
      launch_button(controls.of(main_layout::launch_button)),
      start_stop_button(controls.of(main_layout::start_stop_button)),
      auto_start(controls.tickbox_of(main_layout::auto_start)),
      auto_close(controls.tickbox_of(main_layout::auto_close)),
      countdown_display(controls.of(main_layout::countdown_display)),
      instance_label(controls.of(main_layout::instance_label)),
      keep_node_running(controls.menu_item_of(main_layout::keep_node_running)),
      safe_sign_out(controls.menu_item_of(main_layout::safe_sign_out)),
      check_data_drive(controls.menu_item_of(main_layout::check_data_drive)),
      start_with_windows(controls.menu_item_of(main_layout::start_with_windows)),
      before_sign_in(controls.menu_item_of(main_layout::before_sign_in)),
      show_progress(controls.menu_item_of(main_layout::show_progress)),
      show_in_notification_area(controls.menu_item_of(main_layout::show_in_notification_area)),
      keep_awake(controls.menu_item_of(main_layout::keep_awake)),
      battery_stop(controls.menu_item_of(main_layout::battery_stop)),
      metered_pause(controls.menu_item_of(main_layout::metered_pause)),
      low_priority(controls.menu_item_of(main_layout::low_priority)),
      stop_node(controls.menu_item_of(main_layout::stop_node)),
      back_up_wallets(controls.menu_item_of(main_layout::back_up_wallets)),
      history_command(controls.menu_item_of(main_layout::history_command)),
      copy_report(controls.menu_item_of(main_layout::copy_report)),
      qt(guardian.qt, controls.tickbox_of(main_layout::qt_chosen),
         controls.of(main_layout::qt_status), controls.of(main_layout::qt_image_copy),
         controls.of(main_layout::qt_batch_path_copy)),
      daemon(guardian.daemon, controls.tickbox_of(main_layout::daemon_chosen),
             controls.of(main_layout::daemon_status), controls.of(main_layout::daemon_image_copy),
             controls.of(main_layout::daemon_batch_path_copy)),
      tray(services.tray_area, services.history) {
    frame.set_caption(controls.design().caption);
    // Switched on at design but without an interval, so silent until the load.
    watcher_timer.set_enabled(true);
    always_on_top_timer.set_enabled(true);
    wire_main_window_events(*this);
}

SettingFields MainWindow::stored_fields() {
    return {
        {&stored::main_left, FrameEdge{&frame, FrameEdge::left}},
        {&stored::main_top, FrameEdge{&frame, FrameEdge::top}},
        {&stored::main_width, FrameEdge{&frame, FrameEdge::width}},
        {&stored::main_height, FrameEdge{&frame, FrameEdge::height}},
        {&stored::qt_chosen, &qt.chosen},
        {&stored::daemon_chosen, &daemon.chosen},
        {&stored::always_on_top, &always_on_top},
        {&stored::auto_start, &auto_start},
        {&stored::auto_close, &auto_close},
        {&stored::qt_batch_path, &qt.batch_path},
        {&stored::daemon_batch_path, &daemon.batch_path},
        {&stored::qt_image, &qt.image},
        {&stored::daemon_image, &daemon.image},
        {&stored::data_folder, &data_folder},
        {&stored::keep_node_running, &keep_node_running},
        {&stored::safe_sign_out, &safe_sign_out},
        {&stored::check_data_drive, &check_data_drive},
        {&stored::node_progress, &show_progress},
        {&stored::notification_area, &show_in_notification_area},
        {&stored::keep_awake, &keep_awake},
        {&stored::backup_folder, &backup_folder},
        {&stored::battery_stop, &battery_stop},
        {&stored::node_low_priority, &low_priority},
        {&stored::metered_pause, &metered_pause},
    };
}

// From here on the watcher and the launcher use the names and paths handed over.
void MainWindow::take_over(const HandOver& hand_over) {
    if (hand_over.programs) {
        const SavedPrograms& saved = *hand_over.programs;
        qt.image = saved.qt_image;
        qt.batch_path = saved.qt_batch_path;
        daemon.image = saved.daemon_image;
        daemon.batch_path = saved.daemon_batch_path;
        if (data_folder != saved.data_folder) {
            data_folder = saved.data_folder;
            folders.forget(data_folder);    // Windows is asked afresh about the folder set now
            services.copies.tell_others();  // whose node is whose may read otherwise now
        }
        qt.show_copies();
        daemon.show_copies();
        tell_the_service_settings_saved(*this);
    }
    if (hand_over.always_on_top) {
        switch_always_on_top(services.windows, always_on_top_timer, *hand_over.always_on_top);
        always_on_top.set_ticked(*hand_over.always_on_top);
    }
}

}  // namespace zvkob
