#include "platform/win32/win32_window_manager.hpp"

#include "platform/win32/wide_text.hpp"

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
    if (main_ != nullptr) {
        show_settings_(main_);
    }
}

// Posted, so whatever asks for it has ended before the unload runs.
void Win32WindowManager::close_settings_window() {
    if (settings_ != nullptr) {
        PostMessageW(settings_, WM_CLOSE, 0, 0);
    }
}

void Win32WindowManager::close_main_window() {
    if (main_ != nullptr) {
        PostMessageW(main_, WM_CLOSE, 0, 0);
    }
}

// Until the user comes to the window; nothing when it is in front already.
void Win32WindowManager::flash_main_window() {
    if (main_ != nullptr) {
        FLASHWINFO flash{};
        flash.cbSize = sizeof flash;
        flash.hwnd = main_;
        flash.dwFlags = FLASHW_TRAY | FLASHW_TIMERNOFG;
        FlashWindowEx(&flash);
    }
}

// Windows shows the reason beside the main window on its shut-down screen
// while the main window answers that the session may not end yet.
void Win32WindowManager::hold_session_end(std::string_view reason) {
    if (main_ != nullptr) {
        ShutdownBlockReasonCreate(main_, widen(reason).c_str());
    }
}

void Win32WindowManager::release_session_end() {
    if (main_ != nullptr) {
        ShutdownBlockReasonDestroy(main_);
    }
}

}  // namespace zvkob::win32
