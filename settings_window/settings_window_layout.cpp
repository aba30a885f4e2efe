#include "settings_window/settings_window_layout.hpp"

#include "settings_window/credit_line.hpp"

namespace zvkob {
namespace {

constexpr Font title_font{.points = 12, .weight = 700};
constexpr Font field_label_font{.weight = 700};
constexpr Font help_font{.points = 9.75};
constexpr Font tickbox_font{.face = "Arial", .points = 9.75, .weight = 700};

using enum ControlKind;

ControlSpec title(std::string_view name, std::string_view caption, TwipRect rect) {
    return {.name = name,
            .kind = label,
            .caption = caption,
            .rect = rect,
            .font = title_font,
            .text_colour = colours::green,
            .back_colour = colours::black,
            .align = Align::centre};
}

ControlSpec field_label(std::string_view name, std::string_view caption, TwipRect rect) {
    return {
        .name = name, .kind = label, .caption = caption, .rect = rect, .font = field_label_font};
}

ControlSpec field(std::string_view name, TwipRect rect, int tab) {
    return {.name = name, .kind = text_box, .caption = "", .rect = rect, .tab = tab};
}

ControlSpec run_command_field(std::string_view name, TwipRect rect, int tab) {
    return {.name = name,
            .kind = text_box,
            .caption = "",
            .rect = rect,
            .tab = tab,
            .read_only = true,
            .multi_line = true};
}

ControlSpec rule(std::string_view name, TwipRect rect) {
    return {.name = name, .kind = line, .rect = rect};
}

// Never shown: below the window's visible area, and hidden as well. A data
// field starts with its own name as text until code fills it.
ControlSpec hidden_field(std::string_view name, std::string_view text, int top) {
    return {.name = name,
            .kind = text_box,
            .caption = text,
            .rect = {120, top, 5775, 375},
            .visible = false};
}

WindowSpec build() {
    return WindowSpec{
        .name = "ZV_KOB_SETTINGS",
        .caption = "TARLOWEN - ZV-KOB - SETTINGS",
        .border = Border::fixed_dialog,
        .minimize_box = false,
        .controls = {
            title("ZV_KOB_TITLE", "TARLOWEN - ZV-KOB", {120, 120, 6495, 345}),
            title("ZV_KOB_VERSION", "Version 1.0", {6720, 120, 2175, 345}),
            [] {
                ControlSpec creator =
                    title("ZV_KOB_CREATOR", credit_line_caption, {120, 480, 11775, 330});
                creator.clickable = true;
                return creator;
            }(),
            field_label("ZV_KOB_FOLDER_LABEL", "ZV-KOB FOLDER - eg C:\\TARLOWEN\\ZV-KOB",
                        {120, 840, 5775, 255}),
            {.name = "EXE_FILENAME_HELP_LABEL",
             .kind = label,
             .caption = "FOR MULTIPLE CONFIGURATIONS, COPY TO A NEW FOLDER AND NEW FILENAME, "
                        "RUN, AND CONFIGURE.",
             .rect = {6120, 840, 5655, 615},
             .font = help_font,
             .text_colour = colours::black,
             .back_colour = colours::green,
             .align = Align::centre},
            field("ZV_KOB_LOCATION_TEXTBOX", {120, 1080, 5775, 375}, 1),
            field_label("CONF_LOCATION_LABEL",
                        "WALLET.CONF - File Location - eg C:\\BC-CONF\\BTC\\bitcoin.conf",
                        {120, 1680, 5775, 255}),
            [] {
                ControlSpec data = field_label("BLOCKCHAIN_FOLDER_LABEL",
                                               "BLOCKCHAIN FOLDER - eg C:\\BC-ROOT\\BTC-BC",
                                               {6120, 1680, 5775, 255});
                data.tooltip = "-datadir=";
                return data;
            }(),
            field("CONF_LOCATION_TEXTBOX", {120, 1920, 5775, 375}, 2),
            field("BLOCKCHAIN_FOLDER_TEXTBOX", {6120, 1920, 5775, 375}, 3),
            field_label("QT_LOCATION_LABEL", "QT Folder - eg C:\\Program Files\\Bitcoin",
                        {120, 2520, 5775, 255}),
            field_label("DAEMOND_LOCATION_LABEL",
                        "DAEMON Folder- eg C:\\Program Files\\Bitcoin\\Daemon",
                        {6120, 2520, 5775, 255}),
            field("QT_LOCATION_TEXTBOX", {120, 2760, 5775, 375}, 4),
            field("DAEMON_LOCATION_TEXTBOX", {6120, 2760, 5775, 375}, 6),
            field_label("QT_NAME_LABEL", "QT Filename - eg bitcoin-qt.exe", {120, 3240, 3375, 255}),
            field_label("DAEMOND_NAME_LABEL", "DAEMON Filename - eg bitcoind.exe",
                        {6120, 3240, 3375, 255}),
            field("QT_NAME_TEXTBOX", {120, 3480, 3375, 375}, 5),
            field("DAEMOND_NAME_TEXTBOX", {6120, 3480, 3375, 375}, 7),
            field_label("ZV_QT_COMMAND_LABEL", "!!! GENERATED RUN COMMAND -ZVKOB-QT.BAT !!!",
                        {120, 4080, 4815, 255}),
            run_command_field("ZV_QT_COMMAND_TEXTBOX", {120, 4320, 11775, 495}, 8),
            field_label("ZV_D_COMMAND_LABEL", "!!! GENERATED RUN COMMAND - ZVKOB-D.BAT !!!",
                        {120, 4920, 4695, 255}),
            run_command_field("ZV_D_COMMAND_TEXTBOX", {120, 5160, 11775, 495}, 9),
            {.name = "AlwaysOnTopTimer_TICKBOX",
             .kind = tickbox,
             .caption = "Always On Top",
             .rect = {360, 5760, 1815, 375},
             .font = tickbox_font,
             .tick = 1,
             .tab = 10},
            {.name = "WALLET_TICKBOX",
             .kind = tickbox,
             .caption = "Wallet",
             .rect = {2280, 5760, 975, 375},
             .font = tickbox_font,
             .tab = 11,
             .tooltip = "disablewallet="},
            {.name = "DISABLE_WALLET_TICKBOX",
             .kind = tickbox,
             .caption = "Disabled",
             .rect = {3360, 5760, 1215, 375},
             .font = tickbox_font,
             .enabled = false,
             .tab = 12,
             .tooltip = "!!! DISABLES ALL WALLET FUNCTIONALITY !!!"},
            {.name = "SAVE_REGISTRY_BUTTON",
             .kind = button,
             .caption = "Save To Registry",
             .rect = {4680, 5760, 2175, 495},
             .tab = 13},
            {.name = "SAVE_BATS_BUTTON",
             .kind = button,
             .caption = "Save .BAT Files",
             .rect = {7080, 5760, 2175, 495},
             .tab = 14},
            {.name = "CLOSE_BUTTON",
             .kind = button,
             .caption = "Cancel",
             .rect = {9480, 5760, 2175, 495},
             .tab = 0},
            rule("Line4", {120, 1560, 11760, 15}),
            rule("Line2", {120, 2400, 11760, 15}),
            rule("Line3", {120, 3960, 11760, 15}),
            rule("Line1", {6000, 840, 15, 3000}),
            hidden_field("DASH_DISABLE_WALLET_EQUALS_TEXTBOX", " -disablewallet=", 6360),
            hidden_field("BAT_QT_RUN_COMMAND_TEXTBOX", "BAT_QT_RUN_COMMAND_TEXTBOX", 6840),
            hidden_field("BAT_DAEMON_RUN_COMMAND_TEXTBOX", "BAT_DAEMON_RUN_COMMAND_TEXTBOX", 7320),
        }};
}

}  // namespace

const WindowSpec& settings_window_layout() {
    static const WindowSpec layout = build();
    return layout;
}

}  // namespace zvkob
