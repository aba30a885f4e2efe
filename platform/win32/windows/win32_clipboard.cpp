#include "platform/win32/windows/win32_clipboard.hpp"

#include <cstring>
#include <string>

#include "platform/win32/processes/program_windows.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

constexpr int open_attempts = 10;
constexpr DWORD attempt_gap_ms = 25;

// The clipboard while this thread holds it open.
class OpenClipboardHeld {
public:
    OpenClipboardHeld() {
        for (int attempt = 0; attempt < open_attempts && !open_; ++attempt) {
            if (attempt > 0) {
                Sleep(attempt_gap_ms);
            }
            open_ = OpenClipboard(main_program_window()) != FALSE;
        }
    }
    ~OpenClipboardHeld() {
        if (open_) {
            CloseClipboard();
        }
    }
    OpenClipboardHeld(const OpenClipboardHeld&) = delete;
    OpenClipboardHeld& operator=(const OpenClipboardHeld&) = delete;
    bool open() const { return open_; }

private:
    bool open_ = false;
};

// Movable global memory with the text and its closing zero, as the clipboard takes it.
HGLOBAL global_copy(const std::wstring& text) {
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) {
        return nullptr;
    }
    void* locked = GlobalLock(memory);
    if (locked == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(locked, text.c_str(), bytes);
    GlobalUnlock(memory);
    return memory;
}

ClipboardPut failed(DWORD error) {
    return {ClipboardPut::Result::failed, system_error_text(error)};
}

}  // namespace

ClipboardPut Win32Clipboard::put_text(std::string_view text) {
    const OpenClipboardHeld clipboard;
    if (!clipboard.open()) {
        return {ClipboardPut::Result::busy, system_error_text(GetLastError())};
    }
    if (!EmptyClipboard()) {
        return failed(GetLastError());
    }
    HGLOBAL memory = global_copy(widen(text));
    if (memory == nullptr) {
        return failed(GetLastError());
    }
    // Once set, the memory is the clipboard's; until then it is ours to free.
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
        const DWORD error = GetLastError();
        GlobalFree(memory);
        return failed(error);
    }
    return {};
}

}  // namespace zvkob::win32
