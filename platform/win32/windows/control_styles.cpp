#include "platform/win32/windows/control_styles.hpp"

namespace zvkob::win32 {
namespace {

DWORD kind_style(const ControlSpec& design) {
    const bool centred = design.align == Align::centre;
    switch (design.kind) {
        case ControlKind::label: {
            // SS_NOTIFY also lets a tooltip see the mouse
            const bool notifies = design.clickable || !design.tooltip.empty() || design.back_colour;
            return (centred ? SS_CENTER : SS_LEFT) | SS_NOPREFIX | (notifies ? SS_NOTIFY : 0);
        }
        case ControlKind::text_box:
            return (centred ? ES_CENTER : ES_LEFT) |
                   (design.multi_line ? (ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL)
                                      : ES_AUTOHSCROLL) |
                   (design.read_only ? ES_READONLY : 0);
        case ControlKind::tickbox:
            return BS_CHECKBOX | BS_MULTILINE;  // the model decides the tick
        case ControlKind::button:
            return BS_PUSHBUTTON | BS_MULTILINE;
        case ControlKind::line:
            return SS_BLACKRECT;
        case ControlKind::menu_item:
            break;
    }
    return 0;
}

}  // namespace

const wchar_t* control_class(ControlKind kind) {
    switch (kind) {
        case ControlKind::text_box:
            return L"EDIT";
        case ControlKind::tickbox:
        case ControlKind::button:
            return L"BUTTON";
        case ControlKind::label:
        case ControlKind::line:
        case ControlKind::menu_item:  // never a child window: see WindowMenuItems
            break;
    }
    return L"STATIC";
}

DWORD control_style(const ControlSpec& design) {
    DWORD style = WS_CHILD | kind_style(design);
    if (design.visible) {
        style |= WS_VISIBLE;
    }
    if (!design.enabled) {
        style |= WS_DISABLED;
    }
    if (design.tab >= 0) {
        style |= WS_TABSTOP;
    }
    return style;
}

}  // namespace zvkob::win32
