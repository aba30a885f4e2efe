#include "platform/win32/window_host.hpp"

#include <commctrl.h>

#include <algorithm>
#include <numeric>
#include <stdexcept>

#include "core/window_placement.hpp"
#include "platform/win32/screen_placement.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

constexpr int program_icon = 1;

// Sets a flag for as long as it lives.
class Raised {
public:
    explicit Raised(bool& flag) : flag_(flag), before_(flag) { flag = true; }
    ~Raised() { flag_ = before_; }
    Raised(const Raised&) = delete;
    Raised& operator=(const Raised&) = delete;

private:
    bool& flag_;
    bool before_;
};

void register_window_class() {
    static bool registered = false;
    if (registered) {
        return;
    }
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;  // replaced per window once its host is known
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(program_icon), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXICON),
                                             GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(program_icon), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = window_class;
    RegisterClassExW(&wc);
    registered = true;
}

DWORD window_style(const WindowSpec& design) {
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (design.minimize_box) {
        style |= WS_MINIMIZEBOX;
    }
    return style;
}

DWORD window_ex_style(const WindowSpec& design) {
    return design.border == Border::fixed_dialog ? WS_EX_DLGMODALFRAME : 0;
}

const wchar_t* control_class(ControlKind kind) {
    switch (kind) {
        case ControlKind::text_box:
            return L"EDIT";
        case ControlKind::tickbox:
        case ControlKind::button:
            return L"BUTTON";
        case ControlKind::label:
        case ControlKind::line:
        case ControlKind::menu_item:  // never a child window: see create_window_menu
            break;
    }
    return L"STATIC";
}

DWORD control_style(const ControlSpec& design) {
    DWORD style = WS_CHILD;
    if (design.visible) {
        style |= WS_VISIBLE;
    }
    if (!design.enabled) {
        style |= WS_DISABLED;
    }
    if (design.tab >= 0) {
        style |= WS_TABSTOP;
    }
    const bool centred = design.align == Align::centre;
    switch (design.kind) {
        case ControlKind::label:
            style |= (centred ? SS_CENTER : SS_LEFT) | SS_NOPREFIX;
            if (design.clickable || !design.tooltip.empty() || design.back_colour) {
                style |= SS_NOTIFY;  // also lets a tooltip see the mouse
            }
            break;
        case ControlKind::text_box:
            style |= (centred ? ES_CENTER : ES_LEFT);
            style |=
                design.multi_line ? (ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL) : ES_AUTOHSCROLL;
            if (design.read_only) {
                style |= ES_READONLY;
            }
            break;
        case ControlKind::tickbox:
            style |= BS_CHECKBOX | BS_MULTILINE;  // the model decides the tick
            break;
        case ControlKind::button:
            style |= BS_PUSHBUTTON | BS_MULTILINE;
            break;
        case ControlKind::line:
            style |= SS_BLACKRECT;
            break;
        case ControlKind::menu_item:
            break;
    }
    return style;
}

std::wstring window_text(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

WindowHost::WindowHost(HostedWindow window, EventGate& gate, HWND owner)
    : model_(std::move(window)), gate_(gate) {
    create_window(owner);
    create_controls();
    create_tooltips();
    create_window_menu();
    observe_model();
    apply_frame();
}

WindowHost::~WindowHost() {
    destroy();
}

void WindowHost::destroy() {
    forget_model();
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
}

void WindowHost::create_window(HWND owner) {
    register_window_class();
    const WindowSpec& design = model_.controls.design();
    hwnd_ = CreateWindowExW(window_ex_style(design), window_class, widen(design.caption).c_str(),
                            window_style(design), CW_USEDEFAULT, CW_USEDEFAULT, 300, 200, owner,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    if (hwnd_ == nullptr) {
        throw std::runtime_error("Windows could not create the window " + std::string(design.name) +
                                 ": " + system_error_text(GetLastError()));
    }
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&window_procedure));
    dpi_ = GetDpiForWindow(hwnd_);
    if (dpi_ == 0) {
        dpi_ = 96;
    }
}

void WindowHost::create_controls() {
    const auto& controls = model_.controls.all();
    children_.assign(controls.size(), nullptr);
    // Creation order is Tab order: controls that take the focus first, by their place in it.
    std::vector<std::size_t> order(controls.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int tab_a = controls[a]->design().tab;
        const int tab_b = controls[b]->design().tab;
        return (tab_a >= 0 && tab_b >= 0) ? tab_a < tab_b : (tab_a >= 0 && tab_b < 0);
    });
    Raised applying(applying_);
    for (const std::size_t index : order) {
        const ControlSpec& design = controls[index]->design();
        const DWORD ex_style = design.kind == ControlKind::text_box ? WS_EX_CLIENTEDGE : 0;
        children_[index] = CreateWindowExW(
            ex_style, control_class(design.kind), widen(controls[index]->text()).c_str(),
            control_style(design), 0, 0, 0, 0, hwnd_,
            reinterpret_cast<HMENU>(
                static_cast<INT_PTR>(first_control_id + static_cast<int>(index))),
            GetModuleHandleW(nullptr), nullptr);
    }
    place_controls();
    for (std::size_t index = 0; index < controls.size(); ++index) {
        apply_control(index);
    }
}

void WindowHost::create_tooltips() {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
    tip_texts_.assign(children_.size(), std::wstring());
    for (std::size_t index = 0; index < children_.size(); ++index) {
        tip_texts_[index] = widen(model_.controls.all()[index]->tooltip());
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd_;
        tool.uId = reinterpret_cast<UINT_PTR>(children_[index]);
        tool.lpszText = tip_texts_[index].data();
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// The window menu keeps what the system puts in it; the window's own commands
// follow a separator.
void WindowHost::create_window_menu() {
    const auto& items = model_.controls.window_menu();
    HMENU menu = items.empty() ? nullptr : GetSystemMenu(hwnd_, FALSE);
    if (menu == nullptr) {
        return;
    }
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    for (std::size_t index = 0; index < items.size(); ++index) {
        AppendMenuW(menu, MF_STRING, first_menu_command + 16 * index,
                    widen(items[index]->text()).c_str());
        apply_menu_item(index);
    }
}

void WindowHost::apply_menu_item(std::size_t index) const {
    HMENU menu = GetSystemMenu(hwnd_, FALSE);
    const MenuItem& item = *model_.controls.window_menu()[index];
    const UINT command = first_menu_command + 16 * static_cast<UINT>(index);
    CheckMenuItem(menu, command, MF_BYCOMMAND | (item.ticked() ? MF_CHECKED : MF_UNCHECKED));
    EnableMenuItem(menu, command, MF_BYCOMMAND | (item.enabled() ? MF_ENABLED : MF_GRAYED));
}

// A command of the window's own in the window menu; the system's own ones
// are left to the system.
bool WindowHost::window_menu_command(WPARAM command) {
    const auto& items = model_.controls.window_menu();
    const WPARAM offset = (command & 0xFFF0) - first_menu_command;
    const std::size_t index = offset / 16;
    if ((command & 0xFFF0) < first_menu_command || index >= items.size()) {
        return false;
    }
    MenuItem& item = *items[index];
    if (item.enabled()) {
        gate_.run([&item] { item.click(); });
    }
    return true;
}

void WindowHost::observe_model() {
    for (std::size_t index = 0; index < model_.controls.window_menu().size(); ++index) {
        model_.controls.window_menu()[index]->set_observer([this, index] {
            if (hwnd_ != nullptr) {
                apply_menu_item(index);
            }
        });
    }
    const auto& controls = model_.controls.all();
    for (std::size_t index = 0; index < controls.size(); ++index) {
        controls[index]->set_observer([this, index] { apply_control(index); });
    }
    for (std::size_t index = 0; index < model_.timers.size(); ++index) {
        model_.timers[index]->set_observer([this, index] { apply_timer(index); });
        apply_timer(index);
    }
    model_.frame.set_observer([this] { apply_frame(); });
}

void WindowHost::forget_model() {
    for (const auto& item : model_.controls.window_menu()) {
        item->set_observer(nullptr);
    }
    for (const auto& control : model_.controls.all()) {
        control->set_observer(nullptr);
    }
    for (std::size_t index = 0; index < model_.timers.size(); ++index) {
        model_.timers[index]->set_observer(nullptr);
        if (hwnd_ != nullptr) {
            KillTimer(hwnd_, index + 1);
        }
    }
    model_.frame.set_observer(nullptr);
}

void WindowHost::show() {
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    if (first != nullptr) {
        SetFocus(first);
    }
}

void WindowHost::apply_frame() {
    if (hwnd_ == nullptr || applying_) {
        return;
    }
    Raised applying(applying_);
    const WindowFrame& frame = model_.frame;
    SetWindowTextW(hwnd_, widen(frame.caption()).c_str());
    if (frame.width() <= 0 || frame.height() <= 0) {
        return;  // not placed yet: the load sets position and size
    }
    const unsigned positions_dpi = system_dpi();
    const PixelRect placed = opening_rect(frame, positions_dpi, desktop_monitors());
    SetWindowPos(hwnd_, nullptr, placed.left, placed.top, placed.width(), placed.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (placed.left != twips_to_pixels(frame.left(), positions_dpi) ||
        placed.top != twips_to_pixels(frame.top(), positions_dpi)) {
        model_.frame.set_position(pixels_to_twips(placed.left, positions_dpi),
                                  pixels_to_twips(placed.top, positions_dpi));
    }
}

// A position the user moved the window to goes back to the model, at the
// system DPI whatever monitor it is on; a window still where the model put it
// keeps the model's twips exactly, so an unmoved window stores the very
// position it was given.
void WindowHost::keep_moved_position() {
    if (applying_ || hwnd_ == nullptr || IsIconic(hwnd_)) {
        return;
    }
    RECT now{};
    GetWindowRect(hwnd_, &now);
    const WindowFrame& frame = model_.frame;
    const unsigned positions_dpi = system_dpi();
    if (twips_to_pixels(frame.left(), positions_dpi) == now.left &&
        twips_to_pixels(frame.top(), positions_dpi) == now.top) {
        return;
    }
    Raised applying(applying_);
    model_.frame.set_position(pixels_to_twips(now.left, positions_dpi),
                              pixels_to_twips(now.top, positions_dpi));
}

void WindowHost::place_controls() {
    const auto& controls = model_.controls.all();
    for (std::size_t index = 0; index < controls.size(); ++index) {
        const ControlSpec& design = controls[index]->design();
        const int width = std::max(1, twips_to_pixels(design.rect.width, dpi_));
        const int height = std::max(1, twips_to_pixels(design.rect.height, dpi_));
        SetWindowPos(children_[index], nullptr, twips_to_pixels(design.rect.left, dpi_),
                     twips_to_pixels(design.rect.top, dpi_), width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(children_[index], WM_SETFONT,
                     reinterpret_cast<WPARAM>(gdi_.font(design.font, dpi_)), TRUE);
    }
}

void WindowHost::apply_control(std::size_t index) {
    if (hwnd_ == nullptr) {
        return;
    }
    Raised applying(applying_);
    const Control& control = *model_.controls.all()[index];
    const HWND child = children_[index];
    const std::wstring text = widen(control.text());
    if (window_text(child) != text) {
        SetWindowTextW(child, text.c_str());
    }
    if (const auto* tickbox = dynamic_cast<const Tickbox*>(&control)) {
        const WPARAM state = tickbox->tick() == 1 ? BST_CHECKED : BST_UNCHECKED;
        if (static_cast<WPARAM>(SendMessageW(child, BM_GETCHECK, 0, 0)) != state) {
            SendMessageW(child, BM_SETCHECK, state, 0);
        }
    }
    if ((IsWindowEnabled(child) != FALSE) != control.enabled()) {
        if (!control.enabled()) {
            move_focus_off(child);
        }
        EnableWindow(child, control.enabled() ? TRUE : FALSE);
    }
    if ((GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0 ? !control.visible()
                                                             : control.visible()) {
        ShowWindow(child, control.visible() ? SW_SHOWNA : SW_HIDE);
    }
    if (tooltip_ != nullptr && tip_texts_[index] != widen(control.tooltip())) {
        tip_texts_[index] = widen(control.tooltip());
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = hwnd_;
        tool.uId = reinterpret_cast<UINT_PTR>(child);
        tool.lpszText = tip_texts_[index].data();
        SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    InvalidateRect(child, nullptr, TRUE);
}

// A control that loses its enabled state must not keep the keyboard focus.
void WindowHost::move_focus_off(HWND child) {
    if (GetFocus() == child) {
        HWND next = GetNextDlgTabItem(hwnd_, child, FALSE);
        SetFocus(next != child ? next : hwnd_);
    }
}

void WindowHost::apply_timer(std::size_t index) const {
    if (hwnd_ == nullptr) {
        return;
    }
    const Timer& timer = *model_.timers[index];
    if (timer.running()) {
        SetTimer(hwnd_, index + 1, static_cast<UINT>(timer.interval_ms()), nullptr);
    } else {
        KillTimer(hwnd_, index + 1);
    }
}

// Sizes follow the monitor's DPI. A window that ZV-KOB itself is placing on
// another monitor already has the size for it there; one the user dragged
// there goes where Windows suggests, at the size for its new DPI.
void WindowHost::on_dpi_changed(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    const bool placing = applying_;
    {
        Raised applying(applying_);
        if (!placing) {
            SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top,
                         twips_to_pixels(model_.frame.width(), dpi_),
                         twips_to_pixels(model_.frame.height(), dpi_),
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
        place_controls();
    }
    if (!placing) {
        keep_moved_position();
    }
}

std::size_t WindowHost::index_of(HWND child) const {
    const auto found = std::find(children_.begin(), children_.end(), child);
    return static_cast<std::size_t>(found - children_.begin());
}

// A tick that acts waits while a handler shows a message box, and then runs
// once; by then its timer may have been switched off or its window closed.
void WindowHost::tick_timer(std::size_t index) {
    if (index >= model_.timers.size() || !model_.timers[index]->running()) {
        return;
    }
    Timer& timer = *model_.timers[index];
    if (timer.effect() == TickEffect::reads_only) {
        gate_.run_beside([&timer] { timer.tick(); });
        return;
    }
    gate_.run_when_free(&timer, [this, &timer] {
        if (hwnd_ != nullptr && timer.running()) {
            timer.tick();
        }
    });
}

void WindowHost::command(int id, int code) {
    const std::size_t index = static_cast<std::size_t>(id - first_control_id);
    const auto& controls = model_.controls.all();
    if (id < first_control_id || index >= controls.size()) {
        return;
    }
    Control& control = *controls[index];
    switch (control.design().kind) {
        case ControlKind::text_box:
            if (code == EN_CHANGE && !applying_) {
                Raised applying(applying_);
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

LRESULT WindowHost::colour_control(HDC dc, HWND child, UINT message, WPARAM wparam, LPARAM lparam) {
    const std::size_t index = index_of(child);
    if (index >= children_.size()) {
        return DefWindowProcW(hwnd_, message, wparam, lparam);
    }
    const Control& control = *model_.controls.all()[index];
    const LRESULT standard = DefWindowProcW(hwnd_, message, wparam, lparam);
    if (control.design().text_colour) {
        SetTextColor(dc, *control.design().text_colour);
    }
    if (const auto back = control.back_colour()) {
        SetBkColor(dc, *back);
        return reinterpret_cast<LRESULT>(gdi_.brush(*back));
    }
    return standard;
}

LRESULT CALLBACK WindowHost::window_procedure(HWND hwnd, UINT message, WPARAM wparam,
                                              LPARAM lparam) {
    auto* host = reinterpret_cast<WindowHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (host == nullptr) {
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    return host->handle_message(message, wparam, lparam);
}

LRESULT WindowHost::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    const HWND window = hwnd_;
    LRESULT result = 0;
    if (on_message && on_message(message, wparam, lparam, result)) {
        return result;
    }
    switch (message) {
        case WM_COMMAND:
            command(LOWORD(wparam), HIWORD(wparam));
            return 0;
        case WM_TIMER:
            tick_timer(wparam - 1);
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            return colour_control(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam),
                                  message, wparam, lparam);
        case WM_WINDOWPOSCHANGED:
            keep_moved_position();
            break;
        case WM_DPICHANGED:
            on_dpi_changed(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wparam) == WA_INACTIVE) {
                focus_ = GetFocus();
            } else if (focus_ != nullptr && IsChild(hwnd_, focus_) && IsWindowEnabled(focus_)) {
                SetFocus(focus_);
                return 0;
            }
            break;
        case WM_SYSCOMMAND:
            if (window_menu_command(wparam)) {
                return 0;
            }
            break;
        case WM_INITMENUPOPUP:
            if (HIWORD(lparam) != 0 && model_.window_menu_opening) {
                gate_.run(model_.window_menu_opening);
            }
            break;
        case WM_CLOSE:
            if (on_close) {
                on_close();
            } else {
                destroy();
            }
            return 0;
        case WM_NCDESTROY:
            forget_model();
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

void close_after_unload(WindowHost& host, EventGate& gate, std::function<void()> unload) {
    gate.run_when_free(&host, [&host, unload = std::move(unload)] {
        if (host.exists()) {
            unload();
            host.destroy();
        }
    });
}

}  // namespace zvkob::win32
