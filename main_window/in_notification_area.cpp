#include "main_window/in_notification_area.hpp"

#include "core/notification_area/tray_menu.hpp"
#include "main_window/closing_events.hpp"
#include "main_window/shown_state.hpp"
#include "main_window/window_menu.hpp"

namespace zvkob {
namespace {

void take_menu_pick(MainWindow& w, const TrayMenuPick& pick) {
    switch (pick.what) {
        case TrayMenuPick::What::open:
            w.tray.bring_back();
            return;
        case TrayMenuPick::What::command:
            pick.command->click();
            return;
        case TrayMenuPick::What::close:
            request_close(w);  // as the close box: the same save, and the settings window first
            return;
    }
}

void open_menu(MainWindow& w, ScreenPoint at) {
    window_menu_opening(w);
    const auto chosen = w.services.tray_area.choose_from_menu(tray_menu(w.controls), at);
    if (!chosen) {
        return;
    }
    if (const auto pick = tray_menu_pick(w.controls, *chosen)) {
        take_menu_pick(w, *pick);
    }
}

}  // namespace

std::optional<TrayIcon> wanted_tray_icon(const MainWindow& w, const GuardianSnapshot& guardian) {
    if (!w.show_in_notification_area.ticked() || w.closing.closing() || guardian.session_ending) {
        return std::nullopt;
    }
    return tray_icon({.instance = w.instance_name,
                      .query_fails = guardian.query_fails,
                      .node_runs = guardian.a_program_runs,
                      .progress = guardian.followed ? &guardian.followed->state : nullptr});
}

void keep_tray_icon(MainWindow& w, std::optional<TrayIcon> icon) {
    w.tray.show(icon, w.services.clock.now_ms());
    w.tray_retry_timer.set_enabled(w.tray.retrying());
}

void show_in_notification_area_clicked(MainWindow& w) {
    switch_tick(w, w.show_in_notification_area, stored::notification_area,
                "Show in the Notification Area");
    show_state(w);
}

void tray_retry_tick(MainWindow& w) {
    w.tray.retry(w.services.clock.now_ms());
    show_state(w);
}

void tray_event(MainWindow& w, const TrayEvent& event) {
    switch (event.kind) {
        case TrayEventKind::open:
        case TrayEventKind::notice_clicked:
            w.tray.bring_back();
            break;
        case TrayEventKind::menu:
            open_menu(w, event.at);
            break;
        case TrayEventKind::taskbar_created:
            w.tray.taskbar_created(w.services.clock.now_ms());
            break;
        case TrayEventKind::minimised:
            w.tray.minimised();
            break;
        case TrayEventKind::restored:
            w.tray.restored();
            break;
    }
    show_state(w);
}

void tray_notice(MainWindow& w, NoticeKind kind, std::string_view title, std::string_view text) {
    const std::string titled = tray_name(w.instance_name) + ": " + std::string(title);
    w.tray.notice(kind, titled, text, w.services.clock.now_ms());
}

}  // namespace zvkob
