#pragma once
#include <windows.h>

#include <algorithm>
#include <cmath>

namespace zvkob::win32 {

// 1440 twips to the inch: 15 twips a pixel at 96 dots per inch.
inline int twips_to_pixels(double twips, UINT dpi) {
    const double pixels = std::round(twips * dpi / 1440.0);
    return static_cast<int>(std::clamp(pixels, -1.0e9, 1.0e9));
}

inline float pixels_to_twips(int pixels, UINT dpi) {
    return static_cast<float>(pixels * 1440.0 / dpi);
}

// The font height in pixels of a size in points.
inline int points_to_pixels(double points, UINT dpi) {
    return static_cast<int>(std::lround(points * dpi / 72.0));
}

}  // namespace zvkob::win32
