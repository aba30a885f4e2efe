#include "platform/win32/win32_pause.hpp"

#include <windows.h>

namespace zvkob::win32 {
namespace {

BOOL CALLBACK paint_now(HWND window, LPARAM) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return TRUE;
}

// Clicks and keys that arrived while the window was frozen are dropped: the
// user saw a window that took no input, and a second LAUNCH queued behind the
// first would start the node twice before the watcher could see it running.
void drop_input_of_the_pause() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    while (PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
    while (PeekMessageW(&message, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE)) {
    }
}

}  // namespace

void Win32Pause::pause(int milliseconds) {
    EnumThreadWindows(GetCurrentThreadId(), paint_now, 0);
    GdiFlush();
    Sleep(static_cast<DWORD>(milliseconds));
    drop_input_of_the_pause();
}

}  // namespace zvkob::win32
