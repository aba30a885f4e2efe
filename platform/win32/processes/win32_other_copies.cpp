#include "platform/win32/processes/win32_other_copies.hpp"

#include <string_view>
#include <vector>

#include "platform/win32/windows/window_host.hpp"

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

// One copy asked. A copy that runs elevated while this one does not cannot
// be sent the question unless it lets it through: Windows refuses it at once.
CopyReply ask(HWND copy, unsigned long process_id, std::uint32_t folder_mark) {
    DWORD_PTR value = 0;
    CopyReply reply;
    reply.delivered = SendMessageTimeoutW(
                          copy, which_node_message(), process_id, static_cast<LPARAM>(folder_mark),
                          SMTO_ABORTIFHUNG | SMTO_BLOCK, answer_deadline_ms, &value) != 0;
    reply.access_denied = !reply.delivered && GetLastError() == ERROR_ACCESS_DENIED;
    reply.window_remains = IsWindow(copy) != FALSE;
    reply.value = value;
    return reply;
}

}  // namespace

UINT which_node_message() {
    static const UINT message = RegisterWindowMessageW(L"ZV-KOB.WhichNode");
    return message;
}

UINT copies_news_message() {
    static const UINT message = RegisterWindowMessageW(L"ZV-KOB.CopiesNews");
    return message;
}

Win32OtherCopies::~Win32OtherCopies() {
    tell_others();
}

void Win32OtherCopies::open_to_others(HWND main_window) {
    for (const UINT message : {which_node_message(), copies_news_message()}) {
        ChangeWindowMessageFilterEx(main_window, message, MSGFLT_ALLOW, nullptr);
    }
    opened_ = true;
    tell_others();
}

// Posted, not sent: no copy waits for another to read it.
void Win32OtherCopies::tell_others() {
    if (opened_) {
        PostMessageW(HWND_BROADCAST, copies_news_message(), GetCurrentProcessId(), 0);
    }
}

std::optional<LRESULT> Win32OtherCopies::answer(UINT message, WPARAM wparam, LPARAM lparam,
                                                const NodeClaim& claim) {
    if (message == which_node_message()) {
        const auto process_id = static_cast<unsigned long>(wparam);
        return static_cast<LRESULT>(
            holder_answer(process_id, claim(process_id), static_cast<std::uint32_t>(lparam)));
    }
    if (message == copies_news_message()) {
        if (static_cast<DWORD>(wparam) != GetCurrentProcessId()) {
            ++news_;
        }
        return 0;
    }
    return std::nullopt;
}

CopiesAnswer Win32OtherCopies::who_holds(unsigned long process_id, std::uint32_t folder_mark) {
    std::vector<HWND> copies;
    EnumWindows(collect_other_copy, reinterpret_cast<LPARAM>(&copies));
    CopiesAnswer answer = CopiesAnswer::none_holds_it;
    for (HWND copy : copies) {
        const CopiesAnswer said = reply_meaning(ask(copy, process_id, folder_mark), process_id);
        if (said == CopiesAnswer::another_holds_it || said == CopiesAnswer::another_holds_it_here) {
            return said;
        }
        if (said == CopiesAnswer::one_did_not_answer) {
            answer = said;
        }
    }
    return answer;
}

}  // namespace zvkob::win32
