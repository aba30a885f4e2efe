#include "platform/win32/win32_other_copies.hpp"

#include <string_view>
#include <vector>

#include "platform/win32/window_host.hpp"

namespace zvkob::win32 {
namespace {

// Long enough for a copy busy with its process query; a copy that takes
// longer is asked again later.
constexpr UINT answer_deadline_ms = 500;

// The main windows of the other copies: ZV-KOB's windows that no window owns.
BOOL CALLBACK collect_other_copy(HWND window, LPARAM found) {
    wchar_t class_name[64] = {};
    GetClassNameW(window, class_name, static_cast<int>(std::size(class_name)));
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (std::wstring_view(class_name) == window_class && process != GetCurrentProcessId() &&
        GetWindow(window, GW_OWNER) == nullptr) {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    }
    return TRUE;
}

}  // namespace

UINT which_node_message() {
    static const UINT message = RegisterWindowMessageW(L"ZV-KOB.WhichNode");
    return message;
}

CopiesAnswer Win32OtherCopies::who_holds(unsigned long process_id) {
    std::vector<HWND> copies;
    EnumWindows(collect_other_copy, reinterpret_cast<LPARAM>(&copies));
    CopiesAnswer answer = CopiesAnswer::none_holds_it;
    for (HWND copy : copies) {
        DWORD_PTR held = 0;
        if (SendMessageTimeoutW(copy, which_node_message(), process_id, 0,
                                SMTO_ABORTIFHUNG | SMTO_BLOCK, answer_deadline_ms, &held) == 0) {
            if (IsWindow(copy)) {
                answer =
                    CopiesAnswer::one_did_not_answer;  // a copy that closed meanwhile holds nothing
            }
        } else if (held == process_id) {
            return CopiesAnswer::another_holds_it;
        }
    }
    return answer;
}

}  // namespace zvkob::win32
