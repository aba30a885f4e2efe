#pragma once
#include <windows.h>

#include <functional>

#include "core/event_gate.hpp"
#include "platform/window_manager.hpp"

namespace zvkob::win32 {

class Win32WindowManager : public WindowManager {
public:
    // Shows the settings window modally over `owner` and returns when it has closed.
    using SettingsWindowShow = std::function<void(HWND owner)>;

    Win32WindowManager(EventGate& gate, SettingsWindowShow show_settings)
        : gate_(gate), show_settings_(std::move(show_settings)) {}

    void attach_main_window(HWND main) { main_ = main; }

    WindowHandle main_window() override;
    WindowHandle foreground_window() override;
    void place_topmost(WindowHandle window, bool topmost) override;
    void show_settings_window() override;
    void close_main_window() override;

private:
    EventGate& gate_;
    SettingsWindowShow show_settings_;
    HWND main_ = nullptr;
    bool settings_open_ = false;
    bool close_after_settings_ = false;
};

}  // namespace zvkob::win32
