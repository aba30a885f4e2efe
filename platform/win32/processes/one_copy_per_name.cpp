#include "platform/win32/processes/one_copy_per_name.hpp"

#include "platform/win32/windows/top_level_window.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

constexpr DWORD longest_wait_ms = 5000;
constexpr DWORD look_every_ms = 100;

// The property a closing copy puts on its main window. A window property,
// not a change of caption or class: another process reads it with no
// message to a thread that may be busy saving.
constexpr wchar_t closing_mark[] = L"ZV-KOB.Closing";

// The mark is named by an atom this copy adds once and deletes as it ends,
// after its window has gone. Named by its text, each mark would take a
// reference to that atom which the window's end does not give back.
class ClosingMarkAtom {
public:
    ClosingMarkAtom() : atom_(GlobalAddAtomW(closing_mark)) {}
    ~ClosingMarkAtom() {
        if (atom_ != 0) {
            GlobalDeleteAtom(atom_);
        }
    }
    ClosingMarkAtom(const ClosingMarkAtom&) = delete;
    ClosingMarkAtom& operator=(const ClosingMarkAtom&) = delete;

    // The name to mark by: the text itself only if no atom could be added.
    const wchar_t* name() const { return atom_ != 0 ? MAKEINTATOM(atom_) : closing_mark; }

private:
    ATOM atom_;
};

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
                             static_cast<int>(search.caption.size()), TRUE) == CSTR_EQUAL &&
        GetPropW(window, closing_mark) == nullptr) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND main_window_captioned(std::string_view caption) {
    Search search{widen(caption)};
    EnumWindows(find_main_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool acquired(DWORD wait) {
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

}  // namespace

OneCopyPerName::OneCopyPerName(std::string_view instance, std::string_view main_caption) {
    const std::wstring name = L"Local\\ZV-KOB." + upper_case(widen(instance));
    mutex_ = KernelHandle(CreateMutexW(nullptr, FALSE, name.c_str()));
    if (!mutex_) {
        return;  // no claim can be made: open as usual
    }
    const ULONGLONG give_up_at = GetTickCount64() + longest_wait_ms;
    for (;;) {
        owned_ = acquired(WaitForSingleObject(mutex_.get(), 0));
        if (owned_) {
            return;
        }
        running_copy_ = main_window_captioned(main_caption);
        if (running_copy_ != nullptr || GetTickCount64() >= give_up_at) {
            return;
        }
        owned_ = acquired(WaitForSingleObject(mutex_.get(), look_every_ms));
        if (owned_) {
            return;
        }
    }
}

// The mark stays until the window has gone, when Windows frees the window's
// properties: taken away any sooner, a dying window could be found unmarked.
void OneCopyPerName::closing(HWND main_window) {
    static const ClosingMarkAtom mark;
    SetPropW(main_window, mark.name(), main_window);  // any value but null
}

OneCopyPerName::~OneCopyPerName() {
    give_way();
}

void OneCopyPerName::give_way() {
    if (owned_) {
        ReleaseMutex(mutex_.get());
        owned_ = false;
    }
}

void OneCopyPerName::bring_running_copy_forward() const {
    if (running_copy_ == nullptr) {
        return;
    }
    // Minimised, or hidden behind its icon in the notification area.
    if (IsIconic(running_copy_)) {
        ShowWindow(running_copy_, SW_RESTORE);
    } else if (!IsWindowVisible(running_copy_)) {
        ShowWindow(running_copy_, SW_SHOW);
    }
    SetForegroundWindow(GetLastActivePopup(running_copy_));
}

}  // namespace zvkob::win32
