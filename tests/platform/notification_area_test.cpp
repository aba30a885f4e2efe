// The notification area over the real Win32 under wine, which may show the
// icon in a tray of its own or refuse it: either way nothing crashes, and a
// refusal says why.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "core/notification_area/tray_mark_image.hpp"
#include "driver.hpp"
#include "platform/win32/owners.hpp"
#include "platform/win32/notification_area/tray_icon_image.hpp"
#include "platform/win32/notification_area/win32_notification_area.hpp"

namespace zvkob::win32 {
namespace {

using namespace zvkob::e2e;

// A plain top-level window of the test's own, destroyed when it goes.
class TestWindow {
public:
    TestWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZV-KOB.NotificationAreaTest";
        RegisterClassW(&wc);
        handle_ =
            CreateWindowExW(0, wc.lpszClassName, L"Notification area test", WS_OVERLAPPEDWINDOW,
                            100, 100, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~TestWindow() { DestroyWindow(handle_); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND handle() const { return handle_; }

private:
    HWND handle_;
};

void pump_messages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

bool wait_pumping(const std::function<bool()>& condition) {
    return wait_until(
        [&] {
            pump_messages();
            return condition();
        },
        5s);
}

TEST(NotificationArea, AddsChangesAndRemovesTheIconOrSaysWhyNot) {
    TestWindow window;
    ASSERT_NE(window.handle(), nullptr);
    Win32NotificationArea area(window.handle());
    EXPECT_FALSE(area.notify(NoticeKind::trouble, "ZV-KOB", "No icon yet"));
    EXPECT_NE(area.why(), "");
    if (!area.show({TrayMark::busy, "ZV-KOB Test: catching up · 93.2 %"})) {
        EXPECT_NE(area.why(), "");
        GTEST_SKIP() << "the icon was refused (" << area.why()
                     << "): what is shown with it cannot be checked here";
    }
    EXPECT_TRUE(area.show(
        {TrayMark::synced, "ZV-KOB Test: synced · height 927,012 " + std::string(200, 'x')}))
        << area.why();
    const auto menu = area.message(notification_area_message, MAKEWPARAM(10, 20),
                                   MAKELPARAM(WM_CONTEXTMENU, notification_icon_id));
    ASSERT_TRUE(menu) << "version 4 of the icon's messages";
    EXPECT_EQ(menu->kind, TrayEventKind::menu);
    EXPECT_EQ(menu->at.x, 10);
    EXPECT_EQ(menu->at.y, 20);
    EXPECT_FALSE(area.message(notification_area_message, 0, MAKELPARAM(WM_LBUTTONUP, 1)))
        << "NIN_SELECT follows it";
    area.user_is_busy();  // whatever wine answers, it answers
    if (!area.notify(NoticeKind::caught_up, "ZV-KOB Test", "The node caught up.")) {
        EXPECT_NE(area.why(), "");
    }
    area.remove();
    area.remove();
    EXPECT_FALSE(area.notify(NoticeKind::caught_up, "ZV-KOB Test", "Gone"));
}

// A stand-in for the shell's notification area that refuses what the test
// says, and notes each call.
struct StandInArea {
    static inline std::vector<DWORD> calls;
    static inline bool refuses = false;
    static BOOL WINAPI notify_icon(DWORD message, PNOTIFYICONDATAW) {
        calls.push_back(message);
        return refuses && message != NIM_DELETE ? FALSE : TRUE;
    }
};

// A change the area refuses for a moment keeps the icon known: it is tried
// again, and taken away at every way out, so no icon outlives ZV-KOB.
TEST(NotificationArea, KeepsItsIconThroughARefusedChangeAndTakesItAwayAtTheEnd) {
    TestWindow window;
    const TrayIcon icon{TrayMark::busy, "ZV-KOB: starting"};
    for (const bool removed_by_the_keeper : {true, false}) {
        StandInArea::calls.clear();
        {
            Win32NotificationArea area(window.handle(),
                                       ShellNotifyFunctions(&StandInArea::notify_icon));
            ASSERT_TRUE(area.show(icon));
            StandInArea::refuses = true;
            EXPECT_FALSE(area.show(icon));
            StandInArea::refuses = false;
            if (removed_by_the_keeper) {
                area.remove();
            }
        }
        EXPECT_EQ(StandInArea::calls, (std::vector<DWORD>{NIM_ADD, NIM_SETVERSION, NIM_MODIFY,
                                                          NIM_ADD, NIM_MODIFY, NIM_DELETE}))
            << removed_by_the_keeper;
    }
    StandInArea::calls.clear();
    Win32NotificationArea area(window.handle(), ShellNotifyFunctions(&StandInArea::notify_icon));
    ASSERT_TRUE(area.show(icon));
    StandInArea::refuses = true;
    EXPECT_FALSE(area.show(icon));
    StandInArea::refuses = false;
    EXPECT_TRUE(area.show(icon)) << "the retry changes the icon that stayed";
    EXPECT_EQ(StandInArea::calls.back(), static_cast<DWORD>(NIM_MODIFY));
}

TEST(NotificationArea, TurnsTheIconsMessagesIntoEvents) {
    TestWindow window;
    Win32NotificationArea area(window.handle());
    const auto event = [&](UINT message, WPARAM wparam, LPARAM lparam) {
        const auto got = area.message(message, wparam, lparam);
        return got ? static_cast<int>(got->kind) : -1;
    };
    const auto kind = [](TrayEventKind k) { return static_cast<int>(k); };
    EXPECT_EQ(event(taskbar_created_message(), 0, 0), kind(TrayEventKind::taskbar_created));
    EXPECT_EQ(event(notification_area_message, 0, NIN_SELECT), kind(TrayEventKind::open));
    EXPECT_EQ(event(notification_area_message, 0, NIN_BALLOONUSERCLICK),
              kind(TrayEventKind::notice_clicked));
    EXPECT_EQ(event(notification_area_message, 0, WM_MOUSEMOVE), -1);
    EXPECT_EQ(event(WM_SIZE, SIZE_MINIMIZED, 0), kind(TrayEventKind::minimised));
    EXPECT_EQ(event(WM_SIZE, SIZE_RESTORED, 0), -1) << "a hidden window is not shown again";
    EXPECT_EQ(event(WM_DPICHANGED, MAKEWPARAM(144, 144), 0), -1);
}

TEST(NotificationArea, HidesTheMinimisedWindowAndBringsItBack) {
    TestWindow window;
    Win32NotificationArea area(window.handle());
    ShowWindow(window.handle(), SW_SHOWMINIMIZED);
    ASSERT_TRUE(wait_pumping([&] { return IsIconic(window.handle()) != FALSE; }));
    area.hide_window();
    EXPECT_TRUE(wait_pumping([&] { return !IsWindowVisible(window.handle()); }));
    EXPECT_TRUE(IsIconic(window.handle())) << "a second copy's SW_RESTORE brings it back";
    area.bring_window_back();
    EXPECT_TRUE(wait_pumping(
        [&] { return IsWindowVisible(window.handle()) && !IsIconic(window.handle()); }));
    EXPECT_EQ(area.message(WM_SIZE, SIZE_RESTORED, 0)->kind, TrayEventKind::restored);
}

// The test program has no icon of its own: the stock one carries the mark,
// in its colour beside the middle of the circle in the bottom-right corner.
TEST(NotificationArea, TheMarkIsDrawnInItsColour) {
    for (const auto& [size, at] : {std::pair{16, POINT{13, 11}}, std::pair{32, POINT{28, 22}}}) {
        for (const auto& [mark, colour] : {std::pair{TrayMark::synced, RGB(0, 200, 0)},
                                           std::pair{TrayMark::busy, RGB(255, 200, 0)},
                                           std::pair{TrayMark::trouble, RGB(230, 0, 0)},
                                           std::pair{TrayMark::not_watching, RGB(128, 128, 128)}}) {
            const IconHandle icon = marked_icon(mark, size);
            ASSERT_TRUE(icon);
            const MemoryDc dc(CreateCompatibleDC(nullptr));
            const HDC screen = GetDC(nullptr);
            const BitmapHandle bitmap(CreateCompatibleBitmap(screen, size, size));
            ReleaseDC(nullptr, screen);
            const HGDIOBJ before = SelectObject(dc.get(), bitmap.get());
            PatBlt(dc.get(), 0, 0, size, size, WHITENESS);
            DrawIconEx(dc.get(), 0, 0, icon.get(), size, size, 0, nullptr, DI_NORMAL);
            EXPECT_EQ(GetPixel(dc.get(), at.x, at.y), colour)
                << size << " " << static_cast<int>(mark);
            SelectObject(dc.get(), before);
        }
    }
    EXPECT_GE(notification_icon_size(), 16);
}

// The menu is driven with the keyboard, as a user without a mouse would.
TEST(NotificationArea, TheMenuReturnsTheChosenItem) {
    TestWindow window;
    Win32NotificationArea area(window.handle());
    const std::vector<MenuChoice> items = {{.text = "&Open ZV-KOB", .is_default = true},
                                           {.separator = true},
                                           {.text = "&Greyed", .enabled = false},
                                           {.text = "&Ticked", .ticked = true},
                                           {.text = "&Close ZV-KOB"}};
    const auto menu_shown = [] {
        const HWND menu = FindWindowW(L"#32768", nullptr);
        return menu != nullptr && IsWindowVisible(menu);
    };
    std::thread user([&] {
        if (wait_until(menu_shown, 5s)) {
            PostMessageW(window.handle(), WM_CHAR, 't', 0);
        }
        if (!wait_until([&] { return !menu_shown(); }, 5s)) {
            PostMessageW(window.handle(), WM_CANCELMODE, 0, 0);  // the test fails, not hangs
        }
    });
    const auto chosen = area.choose_from_menu(items, {200, 200});
    user.join();
    EXPECT_EQ(chosen, std::optional<std::size_t>(3));
}

}  // namespace
}  // namespace zvkob::win32
