#include "core/window_placement.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zvkob {
namespace {

bool overlap(const PixelRect& a, const PixelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// How far a point lies outside a rectangle, squared; 0 inside it.
double distance_squared(int x, int y, const PixelRect& rect) {
    const double dx = x < rect.left ? rect.left - x : (x >= rect.right ? x - rect.right + 1 : 0);
    const double dy = y < rect.top ? rect.top - y : (y >= rect.bottom ? y - rect.bottom + 1 : 0);
    return dx * dx + dy * dy;
}

PixelRect moved_into(const PixelRect& window, const PixelRect& area) {
    const int left = std::max(area.left, std::min(window.left, area.right - window.width()));
    const int top = std::max(area.top, std::min(window.top, area.bottom - window.height()));
    return {left, top, left + window.width(), top + window.height()};
}

}  // namespace

int twips_to_pixels(double twips, unsigned dpi) {
    const double pixels = std::round(twips * dpi / 1440.0);
    return static_cast<int>(std::clamp(pixels, -1.0e9, 1.0e9));
}

float pixels_to_twips(int pixels, unsigned dpi) {
    return static_cast<float>(pixels * 1440.0 / dpi);
}

const Monitor* monitor_at(int x, int y, const std::vector<Monitor>& monitors) {
    const Monitor* nearest = nullptr;
    double nearest_distance = std::numeric_limits<double>::infinity();
    for (const Monitor& monitor : monitors) {
        const double distance = distance_squared(x, y, monitor.area);
        if (distance < nearest_distance) {
            nearest = &monitor;
            nearest_distance = distance;
        }
    }
    return nearest;
}

PixelRect opening_rect(const WindowFrame& frame, unsigned system_dpi,
                       const std::vector<Monitor>& monitors) {
    const int left = twips_to_pixels(frame.left(), system_dpi);
    const int top = twips_to_pixels(frame.top(), system_dpi);
    const Monitor* monitor = monitor_at(left, top, monitors);
    const unsigned dpi = monitor != nullptr ? monitor->dpi : system_dpi;
    int width = twips_to_pixels(frame.width(), dpi);
    int height = twips_to_pixels(frame.height(), dpi);
    if (monitor != nullptr) {
        width = std::min(width, monitor->work_area.width());
        height = std::min(height, monitor->work_area.height());
    }
    const PixelRect wanted{left, top, left + width, top + height};
    const bool on_a_monitor = std::any_of(monitors.begin(), monitors.end(), [&](const Monitor& m) {
        return overlap(wanted, m.area);
    });
    if (on_a_monitor || monitor == nullptr) {
        return wanted;
    }
    return moved_into(wanted, monitor->work_area);
}

}  // namespace zvkob
