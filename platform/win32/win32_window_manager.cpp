#include "platform/win32/win32_window_manager.hpp"

namespace zvkob::win32 {

WindowHandle Win32WindowManager::main_window() {
    return reinterpret_cast<WindowHandle>(main_);
}

WindowHandle Win32WindowManager::foreground_window() {
    return reinterpret_cast<WindowHandle>(GetForegroundWindow());
}

// Only the band changes: the window is not activated, so it never takes the
// user's input from the program they are working in.
void Win32WindowManager::place_topmost(WindowHandle window, bool topmost) {
    SetWindowPos(reinterpret_cast<HWND>(window), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0,
                 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32WindowManager::show_settings_window() {
    if (settings_open_ || main_ == nullptr) {
        return;
    }
    settings_open_ = true;
    {
        // The settings window's own events, and the main window's timers, run while it is open.
        EventGate::Reopened reopened(gate_);
        show_settings_(main_);
    }
    settings_open_ = false;
    if (close_after_settings_) {
        close_after_settings_ = false;
        PostMessageW(main_, WM_CLOSE, 0, 0);
    }
}

// Auto-close may fire while the settings window is open: that window closes
// first, as a user's close would, and the main window after it.
void Win32WindowManager::close_main_window() {
    if (main_ == nullptr) {
        return;
    }
    if (settings_open_) {
        close_after_settings_ = true;
        if (HWND settings = GetWindow(main_, GW_ENABLEDPOPUP); settings != nullptr) {
            PostMessageW(settings, WM_CLOSE, 0, 0);
        }
        return;
    }
    PostMessageW(main_, WM_CLOSE, 0, 0);
}

}  // namespace zvkob::win32
