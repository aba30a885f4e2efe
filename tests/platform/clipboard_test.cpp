// The clipboard over the real Win32 (under wine): the report for help goes
// there as Unicode text, and a clipboard another window holds is "busy".
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/win32/wide_text.hpp"
#include "platform/win32/windows/win32_clipboard.hpp"

namespace zvkob::win32 {
namespace {

std::string clipboard_text() {
    std::string text;
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT); data != nullptr) {
            if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
                text = narrow(wide);
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    return text;
}

TEST(Clipboard, TakesUnicodeTextAndIsBusyWhileAnotherWindowHoldsIt) {
    Win32Clipboard clipboard;
    const std::string report = "ZV-KOB report for help\r\n  D\xC3\xA9j\xC3\xA0 <IPv4 1>:8333\r\n";
    const ClipboardPut put = clipboard.put_text(report);
    ASSERT_EQ(put.result, ClipboardPut::Result::copied) << put.failure;
    EXPECT_EQ(clipboard_text(), report);

    std::atomic<bool> holding = false;
    std::atomic<bool> let_go = false;
    std::thread other([&] {
        const HWND window = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                            nullptr, nullptr, nullptr);
        holding = OpenClipboard(window) != FALSE;
        while (holding && !let_go) {
            Sleep(5);
        }
        CloseClipboard();
        DestroyWindow(window);
        holding = false;
        let_go = true;
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!holding && !let_go && std::chrono::steady_clock::now() < deadline) {
        Sleep(5);
    }
    ASSERT_TRUE(holding) << "the other window could not open the clipboard";
    const auto asked = std::chrono::steady_clock::now();
    const ClipboardPut busy = clipboard.put_text("another report");
    const auto waited = std::chrono::steady_clock::now() - asked;
    let_go = true;
    other.join();
    EXPECT_EQ(busy.result, ClipboardPut::Result::busy);
    EXPECT_GE(waited, std::chrono::milliseconds(200)) << "asked again for a quarter of a second";
    EXPECT_LT(waited, std::chrono::seconds(2));
    EXPECT_EQ(clipboard_text(), report) << "what it held stays";
}

}  // namespace
}  // namespace zvkob::win32
