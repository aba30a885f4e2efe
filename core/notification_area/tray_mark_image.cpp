#include "core/notification_area/tray_mark_image.hpp"

#include <algorithm>
#include <cmath>

namespace zvkob {
namespace {

constexpr Colour outline = rgb(32, 32, 32);  // keeps yellow and grey apart from a light taskbar
constexpr Colour middle = rgb(255, 255, 255);

// The mark's circles, in pixels of an icon `size` wide: a dark outline, the
// colour inside it, and for a ring a white middle.
struct Circles {
    double centre;
    double outer;
    double colour;
    double middle;
};

Circles circles(int size) {
    const double diameter = size * 0.625;
    const double outer = diameter / 2;
    const double colour = outer - std::max(1.0, size / 16.0);
    return {size - outer, outer, colour, colour * 0.45};
}

// How much of the pixel at (x, y) a circle covers, smoothed over one pixel.
double coverage(const Circles& at, double radius, int x, int y) {
    const double distance = std::hypot(x + 0.5 - at.centre, y + 0.5 - at.centre);
    return std::clamp(radius - distance + 0.5, 0.0, 1.0);
}

double channel(Colour colour, int shift) {
    return static_cast<double>((colour >> shift) & 0xFFU);
}

// `colour` (0x00BBGGRR) laid over `pixel` (0xAARRGGBB) with opacity `alpha`.
std::uint32_t over(std::uint32_t pixel, Colour colour, double alpha) {
    if (alpha <= 0.0) {
        return pixel;
    }
    const double below = ((pixel >> 24) & 0xFFU) / 255.0 * (1.0 - alpha);
    const double result = alpha + below;
    const auto mix = [&](double top, int pixel_shift) {
        const double bottom = static_cast<double>((pixel >> pixel_shift) & 0xFFU);
        return static_cast<std::uint32_t>(std::lround((top * alpha + bottom * below) / result))
               << pixel_shift;
    };
    return static_cast<std::uint32_t>(std::lround(result * 255.0)) << 24 |
           mix(channel(colour, 0), 16) | mix(channel(colour, 8), 8) | mix(channel(colour, 16), 0);
}

// How a mark looks: its colour, and whether it is a ring round a white middle
// rather than a dot.
struct TrayMarkLook {
    Colour colour;
    bool ring;
};

TrayMarkLook tray_mark_look(TrayMark mark) {
    constexpr Colour green = rgb(0, 200, 0);
    constexpr Colour grey = rgb(128, 128, 128);
    switch (mark) {
        case TrayMark::synced:
            return {green, false};
        case TrayMark::running:
            return {green, true};
        case TrayMark::busy:
            return {rgb(255, 200, 0), false};
        case TrayMark::stopped:
            return {grey, false};
        case TrayMark::trouble:
            return {rgb(230, 0, 0), false};
        case TrayMark::not_watching:
            return {grey, true};
    }
    return {grey, true};
}

}  // namespace

void draw_tray_mark(std::span<std::uint32_t> pixels, int size, TrayMark mark) {
    if (size <= 0 || pixels.size() < static_cast<std::size_t>(size) * size) {
        return;
    }
    const Circles at = circles(size);
    const TrayMarkLook look = tray_mark_look(mark);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            std::uint32_t& pixel = pixels[static_cast<std::size_t>(y) * size + x];
            pixel = over(pixel, outline, coverage(at, at.outer, x, y));
            pixel = over(pixel, look.colour, coverage(at, at.colour, x, y));
            if (look.ring) {
                pixel = over(pixel, middle, coverage(at, at.middle, x, y));
            }
        }
    }
}

}  // namespace zvkob
