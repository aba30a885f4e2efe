#pragma once
#include <cstdint>
#include <span>

#include "core/colours.hpp"
#include "platform/notification_area.hpp"

namespace zvkob {

// Draws the mark over the bottom-right corner of a square icon `size` pixels
// wide. Pixels are 0xAARRGGBB, rows top-down, alpha not premultiplied.
void draw_tray_mark(std::span<std::uint32_t> pixels, int size, TrayMark mark);

}  // namespace zvkob
