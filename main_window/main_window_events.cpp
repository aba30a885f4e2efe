#include "main_window/main_window_events.hpp"

#include "main_window/always_on_top.hpp"
#include "main_window/before_sign_in.hpp"
#include "main_window/starting/auto_close.hpp"
#include "main_window/closing_events.hpp"
#include "main_window/starting/countdown_events.hpp"
#include "main_window/event_order.hpp"
#include "main_window/in_notification_area.hpp"
#include "main_window/starting/launch_modes.hpp"
#include "main_window/starting/launcher.hpp"
#include "guardian/flows/metered_events.hpp"
#include "guardian/flows/neighbour_events.hpp"
#include "guardian/flows/wallet_backup_events.hpp"
#include "guardian/flows/node_glance_events.hpp"
#include "guardian/flows/node_care.hpp"
#include "guardian/flows/process_watcher.hpp"
#include "guardian/flows/stop_node.hpp"
#include "main_window/window_menu.hpp"

namespace zvkob {

// The inert tickboxes of the layout have no rule: a click changes their own
// tick and nothing else.
void wire_main_window_events(MainWindow& w) {
    w.settings_button.set_on_click([&w] { settings_click(w); });
    w.always_on_top_timer.set_on_tick([&w] { always_on_top_tick(w.services.windows); });
    w.always_on_top.set_on_click([&w] {
        switch_always_on_top(w.services.windows, w.always_on_top_timer, w.always_on_top.ticked());
    });

    w.watcher_timer.set_on_tick([&w] { process_watcher_tick(w); });
    w.launch_button.set_on_click([&w] { launch_click(w); });
    w.start_stop_button.set_on_click([&w] { start_stop_click(w); });
    w.countdown_timer.set_on_tick([&w] { countdown_tick(w); });
    w.auto_close_timer.set_on_tick([&w] { auto_close_tick(w); });
    w.auto_start.set_on_click([&w] { auto_start_rule(w); });
    const LaunchModeFollowers followers{w.launch_button, w.auto_start, w.auto_close};
    w.qt.chosen.set_on_click(
        [&w, followers] { launch_mode_rule(w.qt.chosen, w.daemon.chosen, followers); });
    w.daemon.chosen.set_on_click(
        [&w, followers] { launch_mode_rule(w.daemon.chosen, w.qt.chosen, followers); });

    w.keep_node_running.set_on_click([&w] { keep_node_running_clicked(w); });
    w.start_with_windows.set_on_click([&w] { start_with_windows_clicked(w); });
    w.before_sign_in.set_on_click([&w] { before_sign_in_clicked(w); });
    w.history_command.set_on_click([&w] { history_clicked(w); });
    w.copy_report.set_on_click([&w] { copy_report_clicked(w); });
    w.stop_node.set_on_click([&w] { stop_node_clicked(w); });
    w.safe_sign_out.set_on_click([&w] { safe_sign_out_clicked(w); });
    w.check_data_drive.set_on_click([&w] { check_data_drive_clicked(w); });
    w.show_progress.set_on_click([&w] { show_progress_clicked(w); });
    w.progress_timer.set_on_tick([&w] { node_progress_second(w); });
    w.keep_awake.set_on_click([&w] { keep_awake_clicked(w); });
    w.battery_stop.set_on_click([&w] { battery_stop_clicked(w); });
    w.low_priority.set_on_click([&w] { low_priority_clicked(w); });
    w.metered_pause.set_on_click([&w] { metered_pause_clicked(w); });
    w.back_up_wallets.set_on_click([&w] { back_up_wallets_clicked(w); });
    w.show_in_notification_area.set_on_click([&w] { show_in_notification_area_clicked(w); });
    w.tray_retry_timer.set_on_tick([&w] { tray_retry_tick(w); });
}

}  // namespace zvkob
