#pragma once
#include <windows.h>

#include <functional>

#include "platform/window_manager.hpp"

namespace zvkob::win32 {

// The window system as the main window asks it. ZV-KOB's own windows are
// found on the calling thread when needed.
class Win32WindowManager : public WindowManager {
public:
    // Shows the settings window modally over the main window, handing over
    // to `main`, and returns when it has closed.
    using SettingsWindowShow = std::function<void(HandOverReceiver& main)>;

    explicit Win32WindowManager(SettingsWindowShow show_settings)
        : show_settings_(std::move(show_settings)) {}

    WindowHandle main_window() override;
    void set_shutdown_level(unsigned level) override;
    WindowHandle foreground_window() override;
    void place_topmost(WindowHandle window, bool topmost) override;
    void show_settings_window(HandOverReceiver& main) override;
    void close_settings_window() override;
    void close_main_window() override;
    void flash_main_window() override;
    void hold_session_end(std::string_view reason) override;
    void release_session_end() override;

private:
    SettingsWindowShow show_settings_;
};

}  // namespace zvkob::win32
