#pragma once
#include <windows.h>

#include <functional>

#include "platform/window_manager.hpp"

namespace zvkob::win32 {

class Win32WindowManager : public WindowManager {
public:
    // Shows the settings window modally over `owner` and returns when it has closed.
    using SettingsWindowShow = std::function<void(HWND owner)>;

    explicit Win32WindowManager(SettingsWindowShow show_settings)
        : show_settings_(std::move(show_settings)) {}

    void attach_main_window(HWND main) { main_ = main; }
    // The settings window while it is shown, or null.
    void attach_settings_window(HWND settings) { settings_ = settings; }

    WindowHandle main_window() override;
    WindowHandle foreground_window() override;
    void place_topmost(WindowHandle window, bool topmost) override;
    void show_settings_window() override;
    void close_settings_window() override;
    void close_main_window() override;
    void flash_main_window() override;
    void hold_session_end(std::string_view reason) override;
    void release_session_end() override;

private:
    SettingsWindowShow show_settings_;
    HWND main_ = nullptr;
    HWND settings_ = nullptr;
};

}  // namespace zvkob::win32
