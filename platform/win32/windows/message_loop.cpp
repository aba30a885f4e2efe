#include "platform/win32/windows/message_loop.hpp"

namespace zvkob::win32 {

void pump_messages(const std::function<bool()>& done) {
    MSG message{};
    while (!done()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (got == -1) {
            return;
        }
        HWND top = GetAncestor(message.hwnd, GA_ROOT);
        if (top != nullptr && IsDialogMessageW(top, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void run_modal(HWND window, HWND owner) {
    EnableWindow(owner, FALSE);
    pump_messages([window] { return IsWindow(window) == FALSE; });
    EnableWindow(owner, TRUE);
    SetForegroundWindow(owner);
}

}  // namespace zvkob::win32
