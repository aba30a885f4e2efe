#pragma once
#include <cstdint>
#include <string_view>

#include "core/settings/hand_over.hpp"

namespace zvkob {

using WindowHandle = std::uintptr_t;

// What the main window asks of the window system.
class WindowManager {
public:
    virtual ~WindowManager() = default;

    virtual WindowHandle main_window() = 0;
    // Where ZV-KOB stands when Windows asks its programs whether the session
    // may end: a higher level is asked earlier.
    virtual void set_shutdown_level(unsigned level) = 0;
    // The window of any program that has the user's input.
    virtual WindowHandle foreground_window() = 0;
    // Puts a window in or out of the topmost band, keeping its position and size.
    virtual void place_topmost(WindowHandle window, bool topmost) = 0;
    // Shows the settings window modally, owned by the main window, handing
    // over to `main`; returns when it has closed.
    virtual void show_settings_window(HandOverReceiver& main) = 0;
    // Asks the open settings window to close, as its close box does.
    virtual void close_settings_window() = 0;
    // Asks the main window to close; its unload runs as for a user's close.
    virtual void close_main_window() = 0;
    // Flashes the main window's taskbar button until the user looks at it.
    virtual void flash_main_window() = 0;
    // Holds the end of the Windows session, showing the reason on the
    // shut-down screen, and lets it go on again.
    virtual void hold_session_end(std::string_view reason) = 0;
    virtual void release_session_end() = 0;
};

}  // namespace zvkob
