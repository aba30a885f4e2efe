#pragma once
#include <optional>
#include <string_view>
#include <vector>

#include "core/colours.hpp"

namespace zvkob {

// A window's controls as data, much as a resource script would describe them.
// Each control's design is a named constant of its window's layout; the
// window's table lists them in the window's own order. A window model binds
// its controls to those constants, and one renderer turns any table into
// real controls.

// A menu item is a command in the window's own menu (the menu of its icon).
enum class ControlKind { label, text_box, tickbox, button, line, menu_item };
enum class Align { left, centre };

struct Font {
    std::string_view face = "MS Sans Serif";
    double points = 8.25;
    int weight = 400;  // 400 regular, 700 bold, 900 heavy
};

inline constexpr Font default_font{};

// Positions and sizes in twips, relative to the window's client area.
struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ControlSpec {
    std::string_view name;  // what the control is, for traces and messages
    ControlKind kind = ControlKind::label;
    std::string_view caption;  // caption, or the initial text of a text box
    TwipRect rect;
    Font font = default_font;
    std::optional<Colour> text_colour;
    std::optional<Colour> back_colour;
    bool visible = true;
    bool enabled = true;
    int tick = 0;
    int tab = -1;  // position in the Tab order; -1 takes no focus
    Align align = Align::left;
    bool read_only = false;
    bool multi_line = false;  // with a vertical scroll bar
    bool clickable = false;   // a label that reports clicks
    std::string_view tooltip;
    bool separator_before = false;  // a menu item that begins a group of its own
};

enum class Border { fixed_single, fixed_dialog };

struct WindowSpec {
    std::string_view name;
    std::string_view caption;
    Border border = Border::fixed_single;
    bool minimize_box = true;
    std::vector<const ControlSpec*> controls;     // in the window's own order
    std::vector<const ControlSpec*> window_menu;  // added after a separator
};

}  // namespace zvkob
