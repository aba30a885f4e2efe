#include "platform/win32/processes/program_windows.hpp"

#include <string_view>

#include "platform/win32/windows/top_level_window.hpp"

namespace zvkob::win32 {
namespace {

struct Search {
    bool owned;
    HWND found = nullptr;
};

BOOL CALLBACK find_program_window(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    wchar_t class_name[64] = {};
    GetClassNameW(window, class_name, static_cast<int>(std::size(class_name)));
    if (std::wstring_view(class_name) == window_class &&
        (GetWindow(window, GW_OWNER) != nullptr) == search.owned) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND program_window(bool owned) {
    Search search{owned};
    EnumThreadWindows(GetCurrentThreadId(), find_program_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

HWND main_program_window() {
    return program_window(false);
}

HWND settings_program_window() {
    return program_window(true);
}

HWND message_owner_window() {
    const HWND settings = settings_program_window();
    return settings != nullptr ? settings : main_program_window();
}

}  // namespace zvkob::win32
