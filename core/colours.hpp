#pragma once
#include <cstdint>

namespace zvkob {

// A packed colour 0x00BBGGRR, red in the lowest byte, as the window system stores it.
using Colour = std::uint32_t;

constexpr Colour rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<Colour>(red) | (static_cast<Colour>(green) << 8) |
           (static_cast<Colour>(blue) << 16);
}

namespace colours {
inline constexpr Colour black = rgb(0, 0, 0);
inline constexpr Colour green = rgb(0, 255, 0);   // 65280: a node program runs
inline constexpr Colour red = rgb(255, 0, 0);     // 255: it is stopped
inline constexpr Colour cyan = rgb(0, 255, 255);  // 16776960: not yet probed
inline constexpr Colour pink = rgb(255, 128, 255);
inline constexpr Colour yellow = rgb(255, 255, 0);
}  // namespace colours

static_assert(colours::green == 65280 && colours::red == 255 && colours::cyan == 16776960);

}  // namespace zvkob
