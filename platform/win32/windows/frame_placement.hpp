#pragma once
#include <windows.h>

#include "core/window_frame.hpp"
#include "platform/win32/windows/control_windows.hpp"
#include "platform/win32/windows/top_level_window.hpp"
#include "platform/win32/windows/view_writing.hpp"

namespace zvkob::win32 {

// Where a window is and how large, for the DPI of the monitor it is on: the
// window follows its frame's model, a move by the user goes back to it, and
// the window and its controls are sized again when the DPI changes.
class FramePlacement {
public:
    FramePlacement(const TopLevelWindow& window, WindowFrame& frame, ControlWindows& controls,
                   ViewWriting& writing)
        : window_(window), frame_(frame), controls_(controls), writing_(writing) {}

    // The DPI of the monitor the window was created on.
    UINT read_dpi();
    UINT dpi() const { return dpi_; }

    // Shows the frame's caption, position and size.
    void apply_frame();
    // The window has moved (WM_WINDOWPOSCHANGED).
    void keep_moved_position();
    // The window's monitor has another DPI (WM_DPICHANGED).
    void dpi_changed(UINT dpi, const RECT& suggested);

private:
    const TopLevelWindow& window_;
    WindowFrame& frame_;
    ControlWindows& controls_;
    ViewWriting& writing_;
    UINT dpi_ = 96;
};

}  // namespace zvkob::win32
