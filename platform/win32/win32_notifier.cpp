#include "platform/win32/win32_notifier.hpp"

#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {

int Win32Notifier::show(std::string_view text, UINT kind) {
    HWND owner = owner_ ? owner_() : nullptr;
    if (owner != nullptr && IsWindow(owner) == FALSE) {
        owner = nullptr;
    }
    return MessageBoxW(owner, widen(text).c_str(), L"ZV-KOB", kind | MB_SETFOREGROUND);
}

void Win32Notifier::show_error(std::string_view message) {
    show(message, MB_OK | MB_ICONERROR);
}

bool Win32Notifier::ask(std::string_view question) {
    return show(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

}  // namespace zvkob::win32
