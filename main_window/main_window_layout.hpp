#pragma once
#include <string>
#include <string_view>

#include "core/control_table.hpp"

namespace zvkob {

// The main window's controls. Positions in twips in the client area; the
// window shows the part above 3000, everything below it stays out of sight.
namespace main_layout {
using enum ControlKind;
inline constexpr Font bold{.weight = 700};
inline constexpr Font status_font{.face = "Arial", .points = 8.25, .weight = 700};
inline constexpr Font title_font{.points = 12, .weight = 700};
inline constexpr Font display_font{.face = "Arial Black", .points = 14.25, .weight = 900};

// Hidden copies of what the window works from (the image names and batch
// file paths), kept for automation tools that read them.
inline constexpr ControlSpec daemon_image_copy{.name = "daemon_image_copy",
                                               .kind = text_box,
                                               .caption = "DAEMOND_NAME_TEXTBOX",
                                               .rect = {240, 6840, 3375, 375},
                                               .visible = false};
inline constexpr ControlSpec qt_image_copy{.name = "qt_image_copy",
                                           .kind = text_box,
                                           .caption = "QT_NAME_TEXTBOX",
                                           .rect = {240, 6360, 3375, 375},
                                           .visible = false};
inline constexpr ControlSpec daemon_batch_path_copy{.name = "daemon_batch_path_copy",
                                                    .kind = text_box,
                                                    .caption = "BAT_DAEMON_RUN_COMMAND_TEXTBOX",
                                                    .rect = {240, 5760, 4335, 495},
                                                    .visible = false};
inline constexpr ControlSpec qt_batch_path_copy{.name = "qt_batch_path_copy",
                                                .kind = text_box,
                                                .caption = "BAT_QT_RUN_COMMAND_TEXTBOX",
                                                .rect = {240, 5160, 4335, 495},
                                                .visible = false};
// Run-command fields that nothing reads or writes.
inline constexpr ControlSpec unused_daemon_command{.name = "unused_daemon_command",
                                                   .kind = text_box,
                                                   .caption = "EXE_DAEMON_RUN_COMMAND_TEXTBOX",
                                                   .rect = {240, 4560, 4335, 495},
                                                   .visible = false};
inline constexpr ControlSpec unused_qt_command{.name = "unused_qt_command",
                                               .kind = text_box,
                                               .caption = "EXE_QT_RUN_COMMAND_TEXTBOX",
                                               .rect = {240, 3960, 4335, 495},
                                               .visible = false};
inline constexpr ControlSpec always_on_top{.name = "always_on_top",
                                           .kind = tickbox,
                                           .caption = "Always On Top",
                                           .rect = {1920, 600, 975, 435},
                                           .tick = 1,
                                           .tab = 3};
inline constexpr ControlSpec settings_button{.name = "settings_button",
                                             .kind = button,
                                             .caption = "Settings",
                                             .rect = {120, 1560, 855, 495},
                                             .tab = 7};
// Tickboxes without any rule: a click changes their own tick and nothing else.
inline constexpr ControlSpec inert_automation_fix{.name = "inert_automation_fix",
                                                  .kind = tickbox,
                                                  .caption = "KOB - BAT (Automation Fix)",
                                                  .rect = {480, 3240, 2295, 375},
                                                  .text_colour = colours::red,
                                                  .visible = false};
inline constexpr ControlSpec launch_button{.name = "launch_button",
                                           .kind = button,
                                           .caption = "LAUNCH",
                                           .rect = {1080, 1560, 855, 495},
                                           .tab = 6};
inline constexpr ControlSpec daemon_chosen{.name = "daemon_chosen",
                                           .kind = tickbox,
                                           .caption = "DAEMON",
                                           .rect = {3120, 840, 1095, 255},
                                           .tab = 5};
inline constexpr ControlSpec qt_chosen{
    .name = "qt_chosen", .kind = tickbox, .caption = "QT", .rect = {3120, 600, 615, 255}, .tab = 4};
inline constexpr ControlSpec inert_run_bat{.name = "inert_run_bat",
                                           .kind = tickbox,
                                           .caption = "RUN .BAT",
                                           .rect = {480, 3600, 1215, 255},
                                           .font = bold};
inline constexpr ControlSpec inert_run_exe{.name = "inert_run_exe",
                                           .kind = tickbox,
                                           .caption = "RUN EXE",
                                           .rect = {480, 3000, 1215, 255},
                                           .font = bold,
                                           .visible = false};
inline constexpr ControlSpec inert_daemon_exe{.name = "inert_daemon_exe",
                                              .kind = tickbox,
                                              .caption = "DAEMON",
                                              .rect = {2520, 3000, 1095, 255},
                                              .visible = false,
                                              .enabled = false};
inline constexpr ControlSpec inert_qt_exe{.name = "inert_qt_exe",
                                          .kind = tickbox,
                                          .caption = "QT",
                                          .rect = {1800, 3000, 615, 255},
                                          .visible = false,
                                          .enabled = false};
inline constexpr ControlSpec start_stop_button{.name = "start_stop_button",
                                               .kind = button,
                                               .caption = "START-STOP",
                                               .rect = {3120, 1560, 1215, 495},
                                               .tab = 0};
inline constexpr ControlSpec auto_start{.name = "auto_start",
                                        .kind = tickbox,
                                        .caption = "Auto Start",
                                        .rect = {360, 600, 1095, 255},
                                        .enabled = false,
                                        .tab = 1};
inline constexpr ControlSpec auto_close{.name = "auto_close",
                                        .kind = tickbox,
                                        .caption = "Auto Close",
                                        .rect = {360, 840, 1095, 255},
                                        .enabled = false,
                                        .tab = 2};
// The countdown's seconds; its colour is the launch indicator.
inline constexpr ControlSpec countdown_display{.name = "countdown_display",
                                               .kind = text_box,
                                               .caption = "-- --",
                                               .rect = {2160, 1560, 735, 525},
                                               .font = display_font,
                                               .back_colour = colours::pink,
                                               .align = Align::centre,
                                               .read_only = true};
inline constexpr ControlSpec daemon_status{.name = "daemon_status",
                                           .kind = label,
                                           .caption = "!!! NOT MONITORING !!!",
                                           .rect = {2040, 1200, 2295, 255},
                                           .font = status_font,
                                           .back_colour = colours::cyan,
                                           .align = Align::centre};
inline constexpr ControlSpec qt_status{.name = "qt_status",
                                       .kind = label,
                                       .caption = "!!! NOT MONITORING !!!",
                                       .rect = {120, 1200, 1815, 255},
                                       .font = status_font,
                                       .back_colour = colours::cyan,
                                       .align = Align::centre};
inline constexpr ControlSpec title{.name = "title",
                                   .kind = label,
                                   .caption = "ZV-KOB",
                                   .rect = {120, 120, 1215, 360},
                                   .font = title_font,
                                   .text_colour = colours::green,
                                   .back_colour = colours::black,
                                   .align = Align::centre};
inline constexpr ControlSpec instance_label{.name = "instance_label",
                                            .kind = label,
                                            .caption = "APP_EXE_NAME_LABEL",
                                            .rect = {1440, 120, 2895, 360},
                                            .font = title_font,
                                            .text_colour = colours::green,
                                            .back_colour = colours::black,
                                            .align = Align::centre};

// The window menu's own items, after a separator: its ticks, then its commands.
inline constexpr ControlSpec keep_node_running{
    .name = "keep_node_running", .kind = menu_item, .caption = "&Keep Node Running"};
inline constexpr ControlSpec safe_sign_out{
    .name = "safe_sign_out", .kind = menu_item, .caption = "Stop Node Safely at Sign-&out"};
inline constexpr ControlSpec check_data_drive{.name = "check_data_drive",
                                              .kind = menu_item,
                                              .caption = "Check the &Data Drive Before a Start"};
inline constexpr ControlSpec start_with_windows{
    .name = "start_with_windows", .kind = menu_item, .caption = "Start With &Windows"};
// Ticked while this copy's service starts the node before sign-in.
inline constexpr ControlSpec before_sign_in{
    .name = "before_sign_in", .kind = menu_item, .caption = "Start the Node Before Si&gn-In"};
inline constexpr ControlSpec show_progress{
    .name = "show_progress", .kind = menu_item, .caption = "Show the Node's &Progress", .tick = 1};
inline constexpr ControlSpec show_in_notification_area{.name = "show_in_notification_area",
                                                       .kind = menu_item,
                                                       .caption = "Show in the Notification &Area"};
inline constexpr ControlSpec keep_awake{
    .name = "keep_awake", .kind = menu_item, .caption = "Keep the PC Awak&e While Catching Up"};
inline constexpr ControlSpec battery_stop{
    .name = "battery_stop", .kind = menu_item, .caption = "Stop Node Before the Batter&y Runs Out"};
inline constexpr ControlSpec metered_pause{.name = "metered_pause",
                                           .kind = menu_item,
                                           .caption = "Pause the Node's Network on Metered &Links"};
inline constexpr ControlSpec low_priority{
    .name = "low_priority", .kind = menu_item, .caption = "Run the Node at Low Pr&iority"};
inline constexpr ControlSpec stop_node{.name = "stop_node",
                                       .kind = menu_item,
                                       .caption = "S&top Node\u2026",
                                       .separator_before = true};
// Enabled while this copy's node answers its RPC with wallets loaded.
inline constexpr ControlSpec back_up_wallets{.name = "back_up_wallets",
                                             .kind = menu_item,
                                             .caption = "&Back Up Wallets\u2026",
                                             .enabled = false};
inline constexpr ControlSpec history_command{
    .name = "history_command", .kind = menu_item, .caption = "&History\u2026"};
inline constexpr ControlSpec copy_report{
    .name = "copy_report", .kind = menu_item, .caption = "Copy a Report &for Help"};
}  // namespace main_layout

// The main window's table, in the window's own order.
const WindowSpec& main_window_layout();

// The main window's caption once loaded: "TARLOWEN - ZV-KOB - " and the instance name.
std::string main_window_caption(std::string_view instance_name);

}  // namespace zvkob
