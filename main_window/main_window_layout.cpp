#include "main_window/main_window_layout.hpp"

namespace zvkob {
namespace {

constexpr Font bold{.weight = 700};
constexpr Font status_font{.face = "Arial", .points = 8.25, .weight = 700};
constexpr Font title_font{.points = 12, .weight = 700};
constexpr Font display_font{.face = "Arial Black", .points = 14.25, .weight = 900};

using enum ControlKind;

WindowSpec build() {
    return WindowSpec{
        .name = "ZV_KOB_MAIN",
        .caption = "TARLOWEN - ZV-KOB - ",
        .border = Border::fixed_single,
        .minimize_box = true,
        .controls = {
            {.name = "DAEMOND_NAME_TEXTBOX", .kind = text_box, .caption = "DAEMOND_NAME_TEXTBOX",
             .rect = {240, 6840, 3375, 375}, .visible = false},
            {.name = "QT_NAME_TEXTBOX", .kind = text_box, .caption = "QT_NAME_TEXTBOX",
             .rect = {240, 6360, 3375, 375}, .visible = false},
            {.name = "BAT_DAEMON_RUN_COMMAND_TEXTBOX", .kind = text_box,
             .caption = "BAT_DAEMON_RUN_COMMAND_TEXTBOX", .rect = {240, 5760, 4335, 495},
             .visible = false},
            {.name = "BAT_QT_RUN_COMMAND_TEXTBOX", .kind = text_box,
             .caption = "BAT_QT_RUN_COMMAND_TEXTBOX", .rect = {240, 5160, 4335, 495},
             .visible = false},
            {.name = "EXE_DAEMON_RUN_COMMAND_TEXTBOX", .kind = text_box,
             .caption = "EXE_DAEMON_RUN_COMMAND_TEXTBOX", .rect = {240, 4560, 4335, 495},
             .visible = false},
            {.name = "EXE_QT_RUN_COMMAND_TEXTBOX", .kind = text_box,
             .caption = "EXE_QT_RUN_COMMAND_TEXTBOX", .rect = {240, 3960, 4335, 495},
             .visible = false},
            {.name = "AlwaysOnTopTimer_TICKBOX", .kind = tickbox, .caption = "Always On Top",
             .rect = {1920, 600, 975, 435}, .tick = 1, .tab = 3},
            {.name = "SETTINGS_BUTTON", .kind = button, .caption = "Settings",
             .rect = {120, 1560, 855, 495}, .tab = 7},
            {.name = "KOB_BAT_FIX_TICKBOX", .kind = tickbox, .caption = "KOB - BAT (Automation Fix)",
             .rect = {480, 3240, 2295, 375}, .text_colour = colours::red, .visible = false},
            {.name = "LAUNCH_BUTTON", .kind = button, .caption = "LAUNCH",
             .rect = {1080, 1560, 855, 495}, .tab = 6},
            {.name = "USE_DAEMON_BAT_TICKBOX", .kind = tickbox, .caption = "DAEMON",
             .rect = {3120, 840, 1095, 255}, .tab = 5},
            {.name = "USE_QT_BAT_TICKBOX", .kind = tickbox, .caption = "QT",
             .rect = {3120, 600, 615, 255}, .tab = 4},
            {.name = "RUN_BAT_TICKBOX", .kind = tickbox, .caption = "RUN .BAT",
             .rect = {480, 3600, 1215, 255}, .font = bold},
            {.name = "RUN_EXE_TICKBOX", .kind = tickbox, .caption = "RUN EXE",
             .rect = {480, 3000, 1215, 255}, .font = bold, .visible = false},
            {.name = "USE_DAEMON_EXE_TICKBOX", .kind = tickbox, .caption = "DAEMON",
             .rect = {2520, 3000, 1095, 255}, .visible = false, .enabled = false},
            {.name = "USE_QT_EXE_TICKBOX", .kind = tickbox, .caption = "QT",
             .rect = {1800, 3000, 615, 255}, .visible = false, .enabled = false},
            {.name = "START_STOP_BUTTON", .kind = button, .caption = "START-STOP",
             .rect = {3120, 1560, 1215, 495}, .tab = 0},
            {.name = "AUTOSTART_TICKBOX", .kind = tickbox, .caption = "Auto Start",
             .rect = {360, 600, 1095, 255}, .enabled = false, .tab = 1},
            {.name = "AUTOCLOSE_TIMER_TICKBOX", .kind = tickbox, .caption = "Auto Close",
             .rect = {360, 840, 1095, 255}, .enabled = false, .tab = 2},
            {.name = "AUTORUN_TIMER_TEXTBOX", .kind = text_box, .caption = "-- --",
             .rect = {2160, 1560, 735, 525}, .font = display_font,
             .back_colour = colours::pink, .align = Align::centre, .read_only = true},
            {.name = "DAEMON_PROCESS_ACTIVE_LABEL", .kind = label,
             .caption = "!!! NOT MONITORING !!!", .rect = {2040, 1200, 2295, 255},
             .font = status_font, .back_colour = colours::cyan, .align = Align::centre},
            {.name = "QT_PROCESS_ACTIVE_LABEL", .kind = label, .caption = "!!! NOT MONITORING !!!",
             .rect = {120, 1200, 1815, 255}, .font = status_font, .back_colour = colours::cyan,
             .align = Align::centre},
            {.name = "ZV_KOB_TITLE", .kind = label, .caption = "ZV-KOB",
             .rect = {120, 120, 1215, 360}, .font = title_font, .text_colour = colours::green,
             .back_colour = colours::black, .align = Align::centre},
            {.name = "APP_EXE_NAME_LABEL", .kind = label, .caption = "APP_EXE_NAME_LABEL",
             .rect = {1440, 120, 2895, 360}, .font = title_font, .text_colour = colours::green,
             .back_colour = colours::black, .align = Align::centre},
        }};
}

}  // namespace

const WindowSpec& main_window_layout() {
    static const WindowSpec layout = build();
    return layout;
}

}  // namespace zvkob
