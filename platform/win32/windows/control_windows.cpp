#include "platform/win32/windows/control_windows.hpp"

#include <algorithm>
#include <numeric>
#include <string>

#include "core/window_placement.hpp"
#include "platform/win32/windows/control_styles.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

std::wstring window_text(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Controls that take the focus first, by their place in the Tab order, then the others.
std::vector<std::size_t> tab_order(const std::vector<std::unique_ptr<Control>>& controls) {
    std::vector<std::size_t> order(controls.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int tab_a = controls[a]->design().tab;
        const int tab_b = controls[b]->design().tab;
        return (tab_a >= 0 && tab_b >= 0) ? tab_a < tab_b : (tab_a >= 0 && tab_b < 0);
    });
    return order;
}

// Where a control goes in its window, in pixels at `dpi`.
RECT pixel_rect(const ControlSpec& design, UINT dpi) {
    const int left = twips_to_pixels(design.rect.left, dpi);
    const int top = twips_to_pixels(design.rect.top, dpi);
    return {left, top, left + std::max(1, twips_to_pixels(design.rect.width, dpi)),
            top + std::max(1, twips_to_pixels(design.rect.height, dpi))};
}

}  // namespace

// Creation order is Tab order. Each control is made whole in one call, as its
// model has it: the window starts sooner than with a move, a font and a state
// sent to each control afterwards.
void ControlWindows::create(UINT dpi) {
    children_.assign(controls_.all().size(), nullptr);
    const ViewWriting::Mark writing(writing_);
    for (const std::size_t index : tab_order(controls_.all())) {
        create_child(index, dpi);
    }
}

void ControlWindows::create_child(std::size_t index, UINT dpi) {
    const Control& control = *controls_.all()[index];
    const ControlSpec& design = control.design();
    const DWORD ex_style = design.kind == ControlKind::text_box ? WS_EX_CLIENTEDGE : 0;
    DWORD style = control_style(design) & ~(WS_VISIBLE | WS_DISABLED);
    style |= (control.visible() ? WS_VISIBLE : 0) | (control.enabled() ? 0 : WS_DISABLED);
    const RECT rect = pixel_rect(design, dpi);
    const HWND child = CreateWindowExW(
        ex_style, control_class(design.kind), widen(control.text()).c_str(), style, rect.left,
        rect.top, rect.right - rect.left, rect.bottom - rect.top, window_.handle(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(first_control_id + static_cast<int>(index))),
        GetModuleHandleW(nullptr), nullptr);
    children_[index] = child;
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(gdi_.font(design.font, dpi)), FALSE);
    if (design.kind == ControlKind::tickbox) {
        show_tick(child, static_cast<const Tickbox&>(control));
    }
}

void ControlWindows::place(UINT dpi) {
    const auto& controls = controls_.all();
    for (std::size_t index = 0; index < controls.size(); ++index) {
        const ControlSpec& design = controls[index]->design();
        const RECT rect = pixel_rect(design, dpi);
        SetWindowPos(children_[index], nullptr, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(children_[index], WM_SETFONT,
                     reinterpret_cast<WPARAM>(gdi_.font(design.font, dpi)), TRUE);
    }
}

void ControlWindows::apply(std::size_t index) {
    if (!window_.exists()) {
        return;
    }
    const ViewWriting::Mark writing(writing_);
    const Control& control = *controls_.all()[index];
    const HWND child = children_[index];
    const std::wstring text = widen(control.text());
    if (window_text(child) != text) {
        SetWindowTextW(child, text.c_str());
    }
    if (control.design().kind == ControlKind::tickbox) {
        show_tick(child, static_cast<const Tickbox&>(control));
    }
    show_enabled(child, control.enabled());
    if ((GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0 ? !control.visible()
                                                             : control.visible()) {
        ShowWindow(child, control.visible() ? SW_SHOWNA : SW_HIDE);
    }
    InvalidateRect(child, nullptr, TRUE);
}

void ControlWindows::show_tick(HWND child, const Tickbox& tickbox) const {
    const WPARAM state = tickbox.tick() == 1 ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(SendMessageW(child, BM_GETCHECK, 0, 0)) != state) {
        SendMessageW(child, BM_SETCHECK, state, 0);
    }
}

void ControlWindows::show_enabled(HWND child, bool enabled) const {
    if ((IsWindowEnabled(child) != FALSE) == enabled) {
        return;
    }
    if (!enabled) {
        move_focus_off(child);
    }
    EnableWindow(child, enabled ? TRUE : FALSE);
}

// A control that loses its enabled state must not keep the keyboard focus.
void ControlWindows::move_focus_off(HWND child) const {
    if (GetFocus() == child) {
        HWND next = GetNextDlgTabItem(window_.handle(), child, FALSE);
        SetFocus(next != child ? next : window_.handle());
    }
}

void ControlWindows::command(int id, int code) {
    const std::size_t index = static_cast<std::size_t>(id - first_control_id);
    const auto& controls = controls_.all();
    if (id < first_control_id || index >= controls.size()) {
        return;
    }
    Control& control = *controls[index];
    switch (control.design().kind) {
        case ControlKind::text_box:
            if (code == EN_CHANGE && !writing_.active()) {
                const ViewWriting::Mark writing(writing_);
                control.set_text(narrow(window_text(children_[index])));
            }
            break;
        case ControlKind::tickbox:
        case ControlKind::button:
            if (code == BN_CLICKED && control.enabled()) {
                gate_.run([&control] { control.click(); });
            }
            break;
        case ControlKind::label:
            if (code == STN_CLICKED && control.design().clickable) {
                gate_.run([&control] { control.click(); });
            }
            break;
        case ControlKind::line:
        case ControlKind::menu_item:
            break;
    }
}

LRESULT ControlWindows::colour(HDC dc, HWND child, UINT message, WPARAM wparam, LPARAM lparam) {
    const LRESULT standard = DefWindowProcW(window_.handle(), message, wparam, lparam);
    const std::size_t index = index_of(child);
    if (index >= children_.size()) {
        return standard;
    }
    const Control& control = *controls_.all()[index];
    if (control.design().text_colour) {
        SetTextColor(dc, *control.design().text_colour);
    }
    if (const auto back = control.back_colour()) {
        SetBkColor(dc, *back);
        return reinterpret_cast<LRESULT>(gdi_.brush(*back));
    }
    return standard;
}

std::size_t ControlWindows::index_of(HWND child) const {
    const auto found = std::find(children_.begin(), children_.end(), child);
    return static_cast<std::size_t>(found - children_.begin());
}

void ControlWindows::remember_focus() {
    focus_ = GetFocus();
}

// Returns whether the focus went back to a control.
bool ControlWindows::restore_focus() const {
    if (focus_ == nullptr || !IsChild(window_.handle(), focus_) || !IsWindowEnabled(focus_)) {
        return false;
    }
    SetFocus(focus_);
    return true;
}

}  // namespace zvkob::win32
