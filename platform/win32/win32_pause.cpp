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

// Messages other programs send (another copy of ZV-KOB asking which node
// this copy holds) are answered meanwhile: only they, no input, timer or paint.
void answer_sent_messages_until(ULONGLONG deadline) {
    for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now), QS_SENDMESSAGE,
                                    0);
        MSG message{};
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace

void Win32Pause::pause(int milliseconds) {
    EnumThreadWindows(GetCurrentThreadId(), paint_now, 0);
    GdiFlush();
    answer_sent_messages_until(GetTickCount64() + static_cast<ULONGLONG>(milliseconds));
    drop_input_of_the_pause();
}

}  // namespace zvkob::win32
