#pragma once
#include <windows.h>

namespace zvkob::win32 {

// A window rectangle that lies on no screen at all (its monitor was unplugged)
// is moved onto the nearest screen's work area; a rectangle that touches any
// screen is returned unchanged.
RECT keep_on_a_screen(const RECT& window);

}  // namespace zvkob::win32
