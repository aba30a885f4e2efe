#pragma once
#include "core/control_table.hpp"

namespace zvkob {

// The settings window's controls. Positions in twips in the client area; the
// window opens at a height that shows them all.
namespace settings_layout {
using enum ControlKind;
inline constexpr Font title_font{.points = 12, .weight = 700};
inline constexpr Font field_label_font{.weight = 700};
inline constexpr Font help_font{.points = 9.75};
inline constexpr Font tickbox_font{.face = "Arial", .points = 9.75, .weight = 700};

constexpr ControlSpec title_line(std::string_view name, std::string_view caption, TwipRect rect,
                                 bool clickable = false) {
    return {.name = name,
            .kind = label,
            .caption = caption,
            .rect = rect,
            .font = title_font,
            .text_colour = colours::green,
            .back_colour = colours::black,
            .align = Align::centre,
            .clickable = clickable};
}

constexpr ControlSpec field_label(std::string_view name, std::string_view caption, TwipRect rect,
                                  std::string_view tooltip = {}) {
    return {.name = name,
            .kind = label,
            .caption = caption,
            .rect = rect,
            .font = field_label_font,
            .tooltip = tooltip};
}

constexpr ControlSpec field(std::string_view name, TwipRect rect, int tab) {
    return {.name = name, .kind = text_box, .caption = "", .rect = rect, .tab = tab};
}

constexpr ControlSpec run_command_field(std::string_view name, TwipRect rect, int tab) {
    return {.name = name,
            .kind = text_box,
            .caption = "",
            .rect = rect,
            .tab = tab,
            .read_only = true,
            .multi_line = true};
}

constexpr ControlSpec tickbox_of(std::string_view name, std::string_view caption, TwipRect rect,
                                 int tab) {
    return {.name = name,
            .kind = tickbox,
            .caption = caption,
            .rect = rect,
            .font = tickbox_font,
            .tab = tab};
}

constexpr ControlSpec rule(std::string_view name, TwipRect rect) {
    return {.name = name, .kind = line, .rect = rect};
}

inline constexpr ControlSpec title =
    title_line("title", "TARLOWEN - ZV-KOB", {120, 120, 6495, 345});
inline constexpr ControlSpec version = title_line("version", "Version 1.0", {6720, 120, 2175, 345});
// Shows how to reach whoever built this copy when clicked (credit_line.hpp).
inline constexpr ControlSpec credit_line =
    title_line("credit_line", "Created By The ZV-KOB Project", {120, 480, 11775, 330}, true);
inline constexpr ControlSpec program_folder_label = field_label(
    "program_folder_label", "ZV-KOB FOLDER - eg C:\\TARLOWEN\\ZV-KOB", {120, 840, 5775, 255});
inline constexpr ControlSpec copies_help{
    .name = "copies_help",
    .kind = label,
    .caption =
        "FOR MULTIPLE CONFIGURATIONS, COPY TO A NEW FOLDER AND NEW FILENAME, RUN, AND "
        "CONFIGURE.",
    .rect = {6120, 840, 5655, 615},
    .font = help_font,
    .text_colour = colours::black,
    .back_colour = colours::green,
    .align = Align::centre};
inline constexpr ControlSpec program_folder = field("program_folder", {120, 1080, 5775, 375}, 1);
inline constexpr ControlSpec conf_file_label = field_label(
    "conf_file_label", "WALLET.CONF - File Location - eg C:\\BC-CONF\\BTC\\bitcoin.conf",
    {120, 1680, 5775, 255});
inline constexpr ControlSpec data_folder_label =
    field_label("data_folder_label", "BLOCKCHAIN FOLDER - eg C:\\BC-ROOT\\BTC-BC",
                {6120, 1680, 5775, 255}, "-datadir=");
inline constexpr ControlSpec conf_file = field("conf_file", {120, 1920, 5775, 375}, 2);
inline constexpr ControlSpec data_folder = field("data_folder", {6120, 1920, 5775, 375}, 3);
inline constexpr ControlSpec qt_folder_label = field_label(
    "qt_folder_label", "QT Folder - eg C:\\Program Files\\Bitcoin", {120, 2520, 5775, 255});
inline constexpr ControlSpec daemon_folder_label =
    field_label("daemon_folder_label", "DAEMON Folder- eg C:\\Program Files\\Bitcoin\\Daemon",
                {6120, 2520, 5775, 255});
inline constexpr ControlSpec qt_folder = field("qt_folder", {120, 2760, 5775, 375}, 4);
inline constexpr ControlSpec daemon_folder = field("daemon_folder", {6120, 2760, 5775, 375}, 6);
inline constexpr ControlSpec qt_file_label =
    field_label("qt_file_label", "QT Filename - eg bitcoin-qt.exe", {120, 3240, 3375, 255});
inline constexpr ControlSpec daemon_file_label =
    field_label("daemon_file_label", "DAEMON Filename - eg bitcoind.exe", {6120, 3240, 3375, 255});
inline constexpr ControlSpec qt_file = field("qt_file", {120, 3480, 3375, 375}, 5);
inline constexpr ControlSpec daemon_file = field("daemon_file", {6120, 3480, 3375, 375}, 7);
inline constexpr ControlSpec qt_run_command_label = field_label(
    "qt_run_command_label", "!!! GENERATED RUN COMMAND -ZVKOB-QT.BAT !!!", {120, 4080, 4815, 255});
inline constexpr ControlSpec qt_run_command =
    run_command_field("qt_run_command", {120, 4320, 11775, 495}, 8);
inline constexpr ControlSpec daemon_run_command_label =
    field_label("daemon_run_command_label", "!!! GENERATED RUN COMMAND - ZVKOB-D.BAT !!!",
                {120, 4920, 4695, 255});
inline constexpr ControlSpec daemon_run_command =
    run_command_field("daemon_run_command", {120, 5160, 11775, 495}, 9);
inline constexpr ControlSpec always_on_top{.name = "always_on_top",
                                           .kind = tickbox,
                                           .caption = "Always On Top",
                                           .rect = {360, 5760, 1815, 375},
                                           .font = tickbox_font,
                                           .tick = 1,
                                           .tab = 10};
inline constexpr ControlSpec wallet{.name = "wallet",
                                    .kind = tickbox,
                                    .caption = "Wallet",
                                    .rect = {2280, 5760, 975, 375},
                                    .font = tickbox_font,
                                    .tab = 11,
                                    .tooltip = "disablewallet="};
inline constexpr ControlSpec wallet_disabled{
    .name = "wallet_disabled",
    .kind = tickbox,
    .caption = "Disabled",
    .rect = {3360, 5760, 1215, 375},
    .font = tickbox_font,
    .enabled = false,
    .tab = 12,
    .tooltip = "!!! DISABLES ALL WALLET FUNCTIONALITY !!!"};
inline constexpr ControlSpec save_to_registry_button{.name = "save_to_registry_button",
                                                     .kind = button,
                                                     .caption = "Save To Registry",
                                                     .rect = {4680, 5760, 2175, 495},
                                                     .tab = 13};
inline constexpr ControlSpec save_bat_files_button{.name = "save_bat_files_button",
                                                   .kind = button,
                                                   .caption = "Save .BAT Files",
                                                   .rect = {7080, 5760, 2175, 495},
                                                   .tab = 14};
inline constexpr ControlSpec close_button{.name = "close_button",
                                          .kind = button,
                                          .caption = "Cancel",
                                          .rect = {9480, 5760, 2175, 495},
                                          .tab = 0};
inline constexpr ControlSpec rule_below_program_folder =
    rule("rule_below_program_folder", {120, 1560, 11760, 15});
inline constexpr ControlSpec rule_below_node_files =
    rule("rule_below_node_files", {120, 2400, 11760, 15});
inline constexpr ControlSpec rule_below_programs =
    rule("rule_below_programs", {120, 3960, 11760, 15});
inline constexpr ControlSpec rule_between_columns =
    rule("rule_between_columns", {6000, 840, 15, 3000});
}  // namespace settings_layout

// The settings window's table, in the window's own order.
const WindowSpec& settings_window_layout();

}  // namespace zvkob
