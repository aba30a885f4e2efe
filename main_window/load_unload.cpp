#include "main_window/load_unload.hpp"

#include "main_window/before_sign_in.hpp"
#include "main_window/always_on_top.hpp"
#include "main_window/starting/countdown_events.hpp"
#include "core/version.hpp"
#include "main_window/in_notification_area.hpp"
#include "main_window/main_window_layout.hpp"
#include "guardian/flows/metered_events.hpp"
#include "guardian/flows/node_care.hpp"
#include "main_window/session_end_events.hpp"
#include "main_window/shown_state.hpp"
#include "main_window/window_menu.hpp"

namespace zvkob {
namespace {

// The countdown arms at once; of two stored choices the last one read stays.
void arm_automatic_start(MainWindow& w) {
    lock_for_countdown(w, true);
    w.countdown_timer.set_enabled(true);
    w.start_stop_button.set_text("STOP");
    for (const auto& [program, other] :
         {std::pair{&w.qt, &w.daemon}, std::pair{&w.daemon, &w.qt}}) {
        if (program->chosen.ticked()) {
            other->chosen.set_enabled(false);
            other->chosen.set_tick(0);
            program->chosen.set_enabled(false);
        }
    }
}

void settle_launch_mode_without_autostart(MainWindow& w) {
    w.settings_button.set_enabled(true);
    w.launch_button.set_enabled(true);
    w.qt.chosen.set_enabled(true);
    w.daemon.chosen.set_enabled(true);
    w.countdown_timer.set_enabled(false);
    w.start_stop_button.set_text("START");
}

}  // namespace

void load_main_window(MainWindow& w) {
    // Each restored tick that differs from the design tick runs that tickbox's rule.
    restore_settings(w.services.store, read_at_main_load, w.stored_fields());
    before_sign_in_shown(w);  // whether a service guards the node, before the first look
    w.frame.set_caption(main_window_caption(w.instance_name));
    w.instance_label.set_text(w.instance_name);
    w.services.history.record("ZV-KOB " + std::string(program_version) + " opened (copy " +
                              w.instance_name + ").");
    window_menu_opening(w);
    for (NodeProgram* program : w.programs()) {
        program->show_copies();
    }

    w.services.windows.set_shutdown_level(first_asked_shutdown_level);
    w.countdown.rewind();
    w.always_on_top_timer.set_interval(1000);
    w.countdown_timer.set_interval(1000);
    w.watcher_timer.set_interval(500);
    w.watcher_timer.set_enabled(true);
    w.progress_timer.set_interval(2000);
    w.progress_timer.set_enabled(true);
    w.auto_close_timer.set_interval(10000);
    w.tray_retry_timer.set_interval(static_cast<int>(tray_retry_every_ms));
    switch_always_on_top(w.services.windows, w.always_on_top_timer, w.always_on_top.ticked());

    if (!w.qt.chosen.ticked() && !w.daemon.chosen.ticked()) {
        settle_with_nothing_chosen(w);
        w.launch_button.set_enabled(false);
    } else if (w.auto_start.ticked()) {
        arm_automatic_start(w);
    } else {
        settle_launch_mode_without_autostart(w);
    }
    show_state(w);
}

Outcome unload_main_window(MainWindow& w) {
    static constexpr const char* by[] = {"by the user", "by Auto Close",
                                         "as Windows ends the session"};
    w.services.history.record(std::string("ZV-KOB closed ") +
                              by[static_cast<int>(w.closing.reason())] + ".");
    keep_tray_icon(w, std::nullopt);  // on every way out, the window shown again
    let_the_pc_sleep(w.engine);
    metered_closing(w.engine);
    return save_settings(w.services.store, written_at_main_unload, w.stored_fields());
}

}  // namespace zvkob
