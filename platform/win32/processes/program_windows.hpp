#pragma once
#include <windows.h>

namespace zvkob::win32 {

// ZV-KOB's own windows on the calling thread, as Windows knows them: found
// when asked, so no service needs a window handle handed to it later.

// The main window: the one no window owns. Null before it exists and after it is gone.
HWND main_program_window();

// The settings window while it is shown (owned by the main window), or null.
HWND settings_program_window();

// The window a message belongs to: the settings window while it is shown,
// else the main window.
HWND message_owner_window();

}  // namespace zvkob::win32
