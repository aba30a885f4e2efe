// The window as the guardian's host: its menu's ticks, its look, its
// messages and notices, and its countdown.
#include "main_window/in_notification_area.hpp"
#include "main_window/main_window.hpp"
#include "main_window/shown_state.hpp"
#include "main_window/starting/countdown_events.hpp"

namespace zvkob {

bool MainWindow::ticked(GuardTick tick) const {
    switch (tick) {
        case GuardTick::show_progress:
            return show_progress.ticked();
        case GuardTick::keep_awake:
            return keep_awake.ticked();
        case GuardTick::battery_stop:
            return battery_stop.ticked();
        case GuardTick::metered_pause:
            return metered_pause.ticked();
        case GuardTick::low_priority:
            return low_priority.ticked();
        case GuardTick::check_data_drive:
            return check_data_drive.ticked();
        case GuardTick::safe_sign_out:
            return safe_sign_out.ticked();
    }
    return false;
}

void MainWindow::show_guardian_state() {
    show_state(*this);
}

void MainWindow::tell_user(std::string_view message) {
    tell(*this, message);
}

void MainWindow::notify(NoticeKind kind, std::string_view title, std::string_view text) {
    tray_notice(*this, kind, title, text);
}

void MainWindow::offer_wallet_backup(bool offered) {
    back_up_wallets.set_enabled(offered);
}

void MainWindow::following_another_node() {
    tray.node_started();
}

bool MainWindow::is_closing() const {
    return closing.closing();
}

bool MainWindow::countdown_runs() const {
    return countdown_timer.enabled();
}

StartRequest MainWindow::countdown_for() const {
    return countdown.for_whom();
}

void MainWindow::arm_countdown(std::chrono::milliseconds wait, StartRequest for_whom) {
    zvkob::arm_countdown(*this, wait, for_whom);
}

void MainWindow::disarm_countdown() {
    zvkob::disarm_countdown(*this);
}

}  // namespace zvkob
