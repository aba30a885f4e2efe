#include "platform/win32/win32_pause.hpp"

#include <windows.h>

namespace zvkob::win32 {
namespace {

BOOL CALLBACK paint_now(HWND window, LPARAM) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return TRUE;
}

}  // namespace

void Win32Pause::pause(int milliseconds) {
    EnumThreadWindows(GetCurrentThreadId(), paint_now, 0);
    GdiFlush();
    Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace zvkob::win32
