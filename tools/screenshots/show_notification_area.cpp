// Shows ZV-KOB's icon in the notification area with its menu open, as the
// user's guide pictures it, until the picture is taken: it writes
// `<folder>\ready` once the menu is up and closes when `<folder>\done`
// appears (a minute at most). See scripts/screenshots.sh.
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>

#include "core/controls.hpp"
#include "core/notification_area/tray_menu.hpp"
#include "core/notification_area/tray_rules.hpp"
#include "driver.hpp"
#include "main_window/main_window_layout.hpp"
#include "platform/win32/notification_area/win32_notification_area.hpp"

namespace zvkob::e2e {
namespace {

// Beside the icon, so that the picture shows both; near the screen's corner
// when the area cannot say where the icon is.
ScreenPoint menu_point(HWND window) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ScreenPoint at{work.right - 320, work.bottom};
    using GetRect = HRESULT(WINAPI*)(const NOTIFYICONIDENTIFIER*, RECT*);
    const auto get_rect = reinterpret_cast<GetRect>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"shell32.dll"), "Shell_NotifyIconGetRect")));
    NOTIFYICONIDENTIFIER icon{sizeof icon, window, win32::notification_icon_id, {}};
    RECT rect{};
    if (get_rect != nullptr && SUCCEEDED(get_rect(&icon, &rect))) {
        at = {rect.left - 300, rect.top};
    }
    return at;
}

int show(const std::wstring& folder) {
    const WNDCLASSW wc{0,       DefWindowProcW, 0,       0,       GetModuleHandleW(nullptr),
                       nullptr, nullptr,        nullptr, nullptr, L"ZV-KOB.Picture"};
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                  nullptr, wc.hInstance, nullptr);
    win32::Win32NotificationArea area(window);
    if (!area.show({TrayMark::synced, "ZV-KOB: synced · height 927,012"})) {
        std::fprintf(stderr, "the notification area refused the icon: %s\n", area.why().c_str());
        return 1;
    }
    const ControlSet controls(main_window_layout());
    controls.menu_item_of(main_layout::show_in_notification_area).set_ticked(true);
    const std::vector<MenuChoice> menu = tray_menu(controls);
    std::thread photographer([&] {
        const auto menu_shown = [] {
            const HWND shown = FindWindowW(L"#32768", nullptr);
            return shown != nullptr && IsWindowVisible(shown);
        };
        if (wait_until(menu_shown, 10s)) {
            write_file(folder + L"\\ready", "");
            wait_until([&] { return file_exists(folder + L"\\done"); }, 60s);
        }
        PostMessageW(window, WM_CANCELMODE, 0, 0);
    });
    area.choose_from_menu(menu, menu_point(window));
    photographer.join();
    DestroyWindow(window);
    return 0;
}

}  // namespace
}  // namespace zvkob::e2e

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: show_notification_area <folder>\n");
        return 2;
    }
    return zvkob::e2e::show(argv[1]);
}
