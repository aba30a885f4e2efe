#include "platform/win32/notification_area/win32_notifier.hpp"

#include <string_view>

#include "platform/win32/processes/program_windows.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

// A message box of this thread is answered as its No (or OK) button would.
BOOL CALLBACK answer_message_box(HWND window, LPARAM) {
    wchar_t class_name[16] = {};
    GetClassNameW(window, class_name, static_cast<int>(std::size(class_name)));
    if (std::wstring_view(class_name) != L"#32770") {
        return TRUE;
    }
    for (const int button : {IDNO, IDOK, IDCANCEL}) {
        if (HWND control = GetDlgItem(window, button); control != nullptr) {
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(control));
            break;
        }
    }
    return TRUE;
}

}  // namespace

int Win32Notifier::show(std::string_view text, UINT kind) {
    return MessageBoxW(message_owner_window(), widen(text).c_str(), L"ZV-KOB",
                       kind | MB_SETFOREGROUND);
}

void Win32Notifier::show_error(std::string_view message) {
    show(message, MB_OK | MB_ICONERROR);
}

bool Win32Notifier::ask(std::string_view question) {
    return show(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void Win32Notifier::close_open_messages() {
    EnumThreadWindows(GetCurrentThreadId(), answer_message_box, 0);
}

}  // namespace zvkob::win32
