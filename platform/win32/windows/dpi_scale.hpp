#pragma once
#include <windows.h>

#include <cmath>

namespace zvkob::win32 {

// The font height in pixels of a size in points.
inline int points_to_pixels(double points, UINT dpi) {
    return static_cast<int>(std::lround(points * dpi / 72.0));
}

}  // namespace zvkob::win32
