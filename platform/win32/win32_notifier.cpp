#include "platform/win32/win32_notifier.hpp"

#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {

void Win32Notifier::show_error(std::string_view message) {
    HWND owner = owner_ ? owner_() : nullptr;
    if (owner != nullptr && IsWindow(owner) == FALSE) {
        owner = nullptr;
    }
    MessageBoxW(owner, widen(message).c_str(), L"ZV-KOB", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

}  // namespace zvkob::win32
