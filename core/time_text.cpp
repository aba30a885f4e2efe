#include "core/time_text.hpp"

#include <cstdio>
#include <cstdlib>

namespace zvkob {

std::string iso_local_time(const LocalTime& t) {
    const int offset = std::abs(t.utc_offset_minutes);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", t.year, t.month,
                  t.day, t.hour, t.minute, t.second, t.utc_offset_minutes < 0 ? '-' : '+',
                  offset / 60, offset % 60);
    return text;
}

std::string duration_text(std::int64_t milliseconds) {
    const std::int64_t seconds = milliseconds < 0 ? 0 : milliseconds / 1000;
    const auto two_units = [](std::int64_t big, const char* big_unit, std::int64_t small,
                              const char* small_unit) {
        std::string text = std::to_string(big) + " " + big_unit;
        if (small != 0) {
            text += " " + std::to_string(small) + " " + small_unit;
        }
        return text;
    };
    if (seconds < 60) {
        return std::to_string(seconds) + " s";
    }
    if (seconds < 3600) {
        return two_units(seconds / 60, "min", seconds % 60, "s");
    }
    if (seconds < 86400) {
        return two_units(seconds / 3600, "h", seconds / 60 % 60, "min");
    }
    return two_units(seconds / 86400, "d", seconds / 3600 % 24, "h");
}

}  // namespace zvkob
