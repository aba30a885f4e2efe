#include "core/time_text.hpp"

#include <cstdio>
#include <cstdlib>

namespace zvkob {

// The calendar date from a count of days since 1970-01-01, as the Gregorian
// calendar counts them in eras of 400 years.
LocalTime local_time_at(std::int64_t utc_ms, int utc_offset_minutes) {
    const std::int64_t local_s = utc_ms / 1000 + std::int64_t{utc_offset_minutes} * 60;
    std::int64_t days = local_s / 86'400;
    std::int64_t second_of_day = local_s % 86'400;
    if (second_of_day < 0) {
        second_of_day += 86'400;
        --days;
    }
    days += 719'468;
    const std::int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
    const std::int64_t day_of_era = days - era * 146'097;
    const std::int64_t year_of_era =
        (day_of_era - day_of_era / 1460 + day_of_era / 36'524 - day_of_era / 146'096) / 365;
    const std::int64_t day_of_year =
        day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const std::int64_t month_index = (5 * day_of_year + 2) / 153;
    const std::int64_t month = month_index < 10 ? month_index + 3 : month_index - 9;
    LocalTime t;
    t.year = static_cast<int>(year_of_era + era * 400 + (month <= 2 ? 1 : 0));
    t.month = static_cast<int>(month);
    t.day = static_cast<int>(day_of_year - (153 * month_index + 2) / 5 + 1);
    t.hour = static_cast<int>(second_of_day / 3600);
    t.minute = static_cast<int>(second_of_day / 60 % 60);
    t.second = static_cast<int>(second_of_day % 60);
    t.utc_offset_minutes = utc_offset_minutes;
    return t;
}

std::string iso_local_time(const LocalTime& t) {
    const int offset = std::abs(t.utc_offset_minutes);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", t.year, t.month,
                  t.day, t.hour, t.minute, t.second, t.utc_offset_minutes < 0 ? '-' : '+',
                  offset / 60, offset % 60);
    return text;
}

namespace {

// Days since 1970-01-01 of a date of the Gregorian calendar.
std::int64_t days_from_civil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto year_of_era = static_cast<unsigned>(year - era * 400);
    const unsigned day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned day_of_era =
        year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146'097 + static_cast<std::int64_t>(day_of_era) - 719'468;
}

}  // namespace

std::optional<std::int64_t> history_stamp_ms(std::string_view line) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, off_h = 0, off_m = 0;
    char sign = 0;
    const std::string stamp(line.substr(0, 25));
    if (std::sscanf(stamp.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c%2d:%2d", &year, &month, &day, &hour,
                    &minute, &second, &sign, &off_h, &off_m) != 9 ||
        (sign != '+' && sign != '-') || month < 1 || month > 12 || day < 1 || day > 31) {
        return std::nullopt;
    }
    const std::int64_t offset_minutes = (sign == '-' ? -1 : 1) * (off_h * 60 + off_m);
    const std::int64_t local_s =
        days_from_civil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86'400 +
        hour * 3600 + minute * 60 + second;
    return (local_s - offset_minutes * 60) * 1000;
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
