#include "core/node_log/node_log_line.hpp"

namespace zvkob {
namespace {

constexpr std::int64_t ms_per_day = 86'400'000;

// The number made of `count` digits at `at`, or none.
std::optional<int> digits_at(std::string_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size()) {
        return std::nullopt;
    }
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool is_leap_year(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int days_in_month(int year, int month) {
    constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && is_leap_year(year) ? 29 : days[month - 1];
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t days_since_1970(int year, int month, int day) {
    const int shifted_year = month <= 2 ? year - 1 : year;
    const int era = (shifted_year >= 0 ? shifted_year : shifted_year - 399) / 400;
    const int year_of_era = shifted_year - era * 400;
    const int day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return static_cast<std::int64_t>(era) * 146097 + day_of_era - 719468;
}

// "YYYY-MM-DD?HH:MM:SS" at the start of the text, `?` being 'T' or a space.
std::optional<std::int64_t> leading_seconds_ms(std::string_view text) {
    const auto year = digits_at(text, 0, 4);
    const auto month = digits_at(text, 5, 2);
    const auto day = digits_at(text, 8, 2);
    const auto hour = digits_at(text, 11, 2);
    const auto minute = digits_at(text, 14, 2);
    const auto second = digits_at(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second || text[4] != '-' ||
        text[7] != '-' || text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    if (*month < 1 || *month > 12 || *day < 1 || *day > days_in_month(*year, *month) ||
        *hour > 23 || *minute > 59 || *second > 59) {
        return std::nullopt;
    }
    const std::int64_t seconds = ((*hour * 60LL) + *minute) * 60 + *second;
    return days_since_1970(*year, *month, *day) * ms_per_day + seconds * 1000;
}

// The milliseconds of a fraction of a second after the dot, and its length.
LogTime fraction_at(std::string_view text, std::size_t at) {
    LogTime fraction{0, 0};
    int scale = 100;
    while (at + fraction.length < text.size() && text[at + fraction.length] >= '0' &&
           text[at + fraction.length] <= '9') {
        fraction.utc_ms += (text[at + fraction.length] - '0') * scale;
        scale /= 10;
        ++fraction.length;
    }
    return fraction;
}

// The text after a leading "[...] " group, or none when it has none.
std::optional<std::string_view> after_prefix(std::string_view text) {
    if (!text.starts_with('[')) {
        return std::nullopt;
    }
    const auto close = text.find(']');
    if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ' ') {
        return std::nullopt;
    }
    return text.substr(close + 2);
}

}  // namespace

std::optional<LogTime> leading_log_time(std::string_view text) {
    constexpr std::size_t seconds_length = 19;
    const auto whole_seconds = leading_seconds_ms(text);
    if (!whole_seconds) {
        return std::nullopt;
    }
    const bool iso = text[10] == 'T';
    if (!iso && text[10] != ' ') {
        return std::nullopt;
    }
    // -logtimemicros adds a fraction to either form.
    LogTime time{*whole_seconds, seconds_length};
    if (time.length < text.size() && text[time.length] == '.') {
        const LogTime fraction = fraction_at(text, time.length + 1);
        if (fraction.length == 0) {
            return std::nullopt;
        }
        time.utc_ms += fraction.utc_ms;
        time.length += 1 + fraction.length;
    }
    if (!iso) {
        return time;
    }
    if (time.length >= text.size() || text[time.length] != 'Z') {
        return std::nullopt;
    }
    ++time.length;
    return time;
}

std::optional<std::int64_t> parse_log_time(std::string_view text) {
    const auto time = leading_log_time(text);
    if (!time || time->length != text.size()) {
        return std::nullopt;
    }
    return time->utc_ms;
}

LogLine read_log_line(std::string_view line) {
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    if (line.starts_with("[*] ")) {
        line.remove_prefix(4);
    }
    LogLine read;
    if (const auto time = leading_log_time(line)) {
        read.utc_ms = time->utc_ms;
        line.remove_prefix(time->length);
        if (line.starts_with(' ')) {
            line.remove_prefix(1);
        }
    }
    while (const auto rest = after_prefix(line)) {
        read.error_level = read.error_level || line.starts_with("[error] ");
        line = *rest;
    }
    read.message = line;
    return read;
}

}  // namespace zvkob
