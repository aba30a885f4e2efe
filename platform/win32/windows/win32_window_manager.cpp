#include "platform/win32/windows/win32_window_manager.hpp"

#include "platform/win32/processes/program_windows.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {

WindowHandle Win32WindowManager::main_window() {
    return reinterpret_cast<WindowHandle>(main_program_window());
}

void Win32WindowManager::set_shutdown_level(unsigned level) {
    SetProcessShutdownParameters(level, 0);
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

void Win32WindowManager::show_settings_window(HandOverReceiver& main) {
    if (main_program_window() != nullptr) {
        show_settings_(main);
    }
}

// Posted, so whatever asks for it has ended before the unload runs.
void Win32WindowManager::close_settings_window() {
    if (HWND settings = settings_program_window(); settings != nullptr) {
        PostMessageW(settings, WM_CLOSE, 0, 0);
    }
}

void Win32WindowManager::close_main_window() {
    if (HWND main = main_program_window(); main != nullptr) {
        PostMessageW(main, WM_CLOSE, 0, 0);
    }
}

// Until the user comes to the window; nothing when it is in front already.
void Win32WindowManager::flash_main_window() {
    if (HWND main = main_program_window(); main != nullptr) {
        FLASHWINFO flash{};
        flash.cbSize = sizeof flash;
        flash.hwnd = main;
        flash.dwFlags = FLASHW_TRAY | FLASHW_TIMERNOFG;
        FlashWindowEx(&flash);
    }
}

// Windows shows the reason beside the main window on its shut-down screen
// while the main window answers that the session may not end yet.
void Win32WindowManager::hold_session_end(std::string_view reason) {
    if (HWND main = main_program_window(); main != nullptr) {
        ShutdownBlockReasonCreate(main, widen(reason).c_str());
    }
}

void Win32WindowManager::release_session_end() {
    if (HWND main = main_program_window(); main != nullptr) {
        ShutdownBlockReasonDestroy(main);
    }
}

}  // namespace zvkob::win32
