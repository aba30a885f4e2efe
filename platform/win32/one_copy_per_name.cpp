#include "platform/win32/one_copy_per_name.hpp"

#include "main_window/main_window_layout.hpp"
#include "platform/win32/wide_text.hpp"
#include "platform/win32/window_host.hpp"

namespace zvkob::win32 {
namespace {

std::wstring upper_case(std::wstring text) {
    CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

struct Search {
    std::wstring caption;
    HWND found = nullptr;
};

BOOL CALLBACK find_main_window(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    wchar_t class_name[64] = {};
    GetClassNameW(window, class_name, static_cast<int>(std::size(class_name)));
    wchar_t caption[512] = {};
    const int length = GetWindowTextW(window, caption, static_cast<int>(std::size(caption)));
    if (std::wstring_view(class_name) == window_class &&
        CompareStringOrdinal(caption, length, search.caption.c_str(),
                             static_cast<int>(search.caption.size()), TRUE) == CSTR_EQUAL) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

OneCopyPerName::OneCopyPerName(std::string_view instance) : instance_(instance) {
    const std::wstring name = L"Local\\ZV-KOB." + upper_case(widen(instance));
    mutex_ = CreateMutexW(nullptr, FALSE, name.c_str());
    only_ = !(mutex_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS);
}

OneCopyPerName::~OneCopyPerName() {
    if (mutex_ != nullptr) {
        CloseHandle(mutex_);
    }
}

void OneCopyPerName::bring_running_copy_forward() const {
    Search search{widen(main_window_caption(instance_))};
    for (int attempt = 0; attempt < 50 && search.found == nullptr; ++attempt) {
        EnumWindows(find_main_window, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) {
            Sleep(100);
        }
    }
    if (search.found == nullptr) {
        return;
    }
    if (IsIconic(search.found)) {
        ShowWindow(search.found, SW_RESTORE);
    }
    SetForegroundWindow(GetLastActivePopup(search.found));
}

}  // namespace zvkob::win32
