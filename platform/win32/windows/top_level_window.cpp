#include "platform/win32/windows/top_level_window.hpp"

#include <stdexcept>
#include <string>

#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

constexpr int program_icon = 1;

HICON program_icon_sized(HINSTANCE instance, int width_metric, int height_metric) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(program_icon), IMAGE_ICON,
                                         GetSystemMetrics(width_metric),
                                         GetSystemMetrics(height_metric), LR_DEFAULTCOLOR));
}

void register_window_class(WNDPROC procedure) {
    static bool registered = false;
    if (registered) {
        return;
    }
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIcon = program_icon_sized(instance, SM_CXICON, SM_CYICON);
    wc.hIconSm = program_icon_sized(instance, SM_CXSMICON, SM_CYSMICON);
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

}  // namespace

void TopLevelWindow::create(const WindowSpec& design, HWND owner) {
    register_window_class(&procedure);
    // The window is known from its first message on: procedure() keeps it at WM_NCCREATE.
    CreateWindowExW(window_ex_style(design), window_class, widen(design.caption).c_str(),
                    window_style(design), CW_USEDEFAULT, CW_USEDEFAULT, 300, 200, owner, nullptr,
                    GetModuleHandleW(nullptr), this);
    if (hwnd_ == nullptr) {
        throw std::runtime_error("Windows could not create the window " + std::string(design.name) +
                                 ": " + system_error_text(GetLastError()));
    }
}

// A window still there when its owner goes (a host whose building failed) no
// longer sends its messages to a handler that is going too.
TopLevelWindow::~TopLevelWindow() {
    if (hwnd_ != nullptr) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void TopLevelWindow::destroy() {
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
}

LRESULT CALLBACK TopLevelWindow::procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<TopLevelWindow*>(
            reinterpret_cast<const CREATESTRUCTW*>(lparam)->lpCreateParams);
        created->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* window = reinterpret_cast<TopLevelWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (window == nullptr) {
        return DefWindowProcW(hwnd, message, wparam, lparam);  // WM_GETMINMAXINFO comes first
    }
    const LRESULT result = window->handler_.handle_message(message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        window->hwnd_ = nullptr;
    }
    return result;
}

}  // namespace zvkob::win32
