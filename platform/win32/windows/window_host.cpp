#include "platform/win32/windows/window_host.hpp"

#include <utility>

namespace zvkob::win32 {
namespace {

// Beyond the model's timers, which count from 1.
constexpr UINT_PTR tooltips_timer = 0x7D0C;

}  // namespace

// The window's first messages reach the host while it is still being built,
// so every part is there before the window, holding references only. The
// view counts as writing until the window is built, so that nothing Windows
// reports meanwhile goes to the model.
WindowHost::WindowHost(HostedWindow window, EventGate& gate, HWND owner)
    : model_(std::move(window)),
      gate_(gate),
      window_(*this),
      controls_(window_, model_.controls, gate_, writing_),
      tooltips_(window_, model_.controls, controls_),
      menu_(window_, model_.controls, gate_, model_.window_menu_opening),
      timers_(window_, model_.timers, gate_),
      placement_(window_, model_.frame, controls_, writing_) {
    {
        const ViewWriting::Mark building(writing_);
        window_.create(model_.controls.design(), owner);
        controls_.create(placement_.read_dpi());
        menu_.create();
    }
    observe_model();
    placement_.apply_frame();
}

WindowHost::~WindowHost() {
    destroy();
}

void WindowHost::destroy() {
    forget_model();
    window_.destroy();
}

void WindowHost::show() {
    const HWND hwnd = window_.handle();
    // The tooltips wait until the window has painted: nobody points at a
    // control before it shows, and a timer's message comes after every
    // paint.
    SetTimer(hwnd, tooltips_timer, USER_TIMER_MINIMUM, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    HWND first = GetNextDlgTabItem(hwnd, nullptr, FALSE);
    if (first != nullptr) {
        SetFocus(first);
    }
}

void WindowHost::observe_model() {
    menu_.observe();
    const auto& controls = model_.controls.all();
    for (std::size_t index = 0; index < controls.size(); ++index) {
        controls[index]->set_observer([this, index] {
            controls_.apply(index);
            tooltips_.apply(index);
        });
    }
    timers_.observe();
    model_.frame.set_observer([this] { placement_.apply_frame(); });
}

void WindowHost::forget_model() {
    menu_.forget();
    for (const auto& control : model_.controls.all()) {
        control->set_observer(nullptr);
    }
    timers_.forget();
    model_.frame.set_observer(nullptr);
}

// Returns whether the focus went back to where it was when the window lost the input.
bool WindowHost::activated(WPARAM wparam) {
    if (LOWORD(wparam) == WA_INACTIVE) {
        controls_.remember_focus();
        return false;
    }
    return controls_.restore_focus();
}

void WindowHost::close_requested() {
    if (on_close) {
        on_close();
    } else {
        destroy();
    }
}

LRESULT WindowHost::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    const HWND hwnd = window_.handle();
    LRESULT result = 0;
    if (on_message && on_message(message, wparam, lparam, result)) {
        return result;
    }
    switch (message) {
        case WM_COMMAND:
            controls_.command(LOWORD(wparam), HIWORD(wparam));
            return 0;
        case WM_TIMER:
            if (wparam == tooltips_timer) {
                KillTimer(hwnd, tooltips_timer);
                tooltips_.create();
                return 0;
            }
            timers_.tick(wparam);
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            return controls_.colour(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam),
                                    message, wparam, lparam);
        case WM_WINDOWPOSCHANGED:
            placement_.keep_moved_position();
            break;
        case WM_DPICHANGED:
            placement_.dpi_changed(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
            return 0;
        case WM_ACTIVATE:
            if (activated(wparam)) {
                return 0;
            }
            break;
        case WM_SYSCOMMAND:
            if (menu_.command(wparam)) {
                return 0;
            }
            break;
        case WM_INITMENUPOPUP:
            menu_.opening(lparam);
            break;
        case WM_CLOSE:
            close_requested();
            return 0;
        case WM_NCDESTROY:
            forget_model();
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
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
