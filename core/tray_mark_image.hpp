#pragma once
#include <cstdint>
#include <span>

#include "core/colours.hpp"
#include "platform/notification_area.hpp"

namespace zvkob {

// How a mark looks: its colour, and whether it is a ring round a white middle
// rather than a dot.
struct TrayMarkLook {
    Colour colour;
    bool ring;
};

TrayMarkLook tray_mark_look(TrayMark mark);

// Draws the mark over the bottom-right corner of a square icon `size` pixels
// wide. Pixels are 0xAARRGGBB, rows top-down, alpha not premultiplied.
void draw_tray_mark(std::span<std::uint32_t> pixels, int size, TrayMark mark);

struct PixelPoint {
    int x = 0;
    int y = 0;
};

// A pixel that draw_tray_mark paints wholly in the mark's own colour.
PixelPoint tray_mark_sample(int size, TrayMark mark);

}  // namespace zvkob
