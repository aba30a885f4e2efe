#pragma once
#include <optional>
#include <string_view>

#include "guardian/flows/guardian_snapshot.hpp"
#include "main_window/main_window.hpp"

namespace zvkob {

// The icon the notification area should show now, or none: the tick is off,
// or ZV-KOB is closing or the session ends (the window then comes back).
std::optional<TrayIcon> wanted_tray_icon(const MainWindow& window,
                                         const GuardianSnapshot& guardian);

// Puts the wanted icon in place; a refused one is tried again on a timer.
void keep_tray_icon(MainWindow& window, std::optional<TrayIcon> icon);

void show_in_notification_area_clicked(MainWindow& window);
void tray_retry_tick(MainWindow& window);

// What the user did at the icon, or what happened to the window or the taskbar.
void tray_event(MainWindow& window, const TrayEvent& event);

// A quiet notice beside the icon, titled with this copy's name, when the
// notification area's rules allow it.
void tray_notice(MainWindow& window, NoticeKind kind, std::string_view title,
                 std::string_view text);

}  // namespace zvkob
