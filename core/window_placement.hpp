#pragma once
#include <vector>

#include "core/window_frame.hpp"

namespace zvkob {

// 1440 twips to the inch: 15 twips a pixel at 96 dots per inch.
int twips_to_pixels(double twips, unsigned dpi);
float pixels_to_twips(int pixels, unsigned dpi);

// A rectangle of screen pixels; right and bottom lie just outside it.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const PixelRect&) const = default;
};

// One monitor of the desktop: all of it, the part windows may use (without
// the taskbar), and its scale.
struct Monitor {
    PixelRect area;
    PixelRect work_area;
    unsigned dpi = 96;
};

// Where a window stored in twips opens, in screen pixels. Its position is
// converted at the system DPI, the one scale positions are stored in, so that
// a window reopens where it closed whichever monitor that is on; its size
// follows the DPI of the monitor it opens on, no larger than that monitor's
// work area. A window that would lie on no monitor (its monitor was
// unplugged) is moved onto the nearest work area.
PixelRect opening_rect(const WindowFrame& frame, unsigned system_dpi,
                       const std::vector<Monitor>& monitors);

// The monitor a point is on, or the nearest one; null when there is none.
const Monitor* monitor_at(int x, int y, const std::vector<Monitor>& monitors);

}  // namespace zvkob
