#include "platform/win32/win32_clock.hpp"

namespace zvkob::win32 {
namespace {

constexpr std::int64_t ticks_from_1601_to_1970 = 116444736000000000LL;

std::int64_t ticks_of(const FILETIME& time) {
    return (static_cast<std::int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

std::int64_t milliseconds_of(const FILETIME& time) {
    return (ticks_of(time) - ticks_from_1601_to_1970) / 10000;
}

LocalTime local_time_now() {
    SYSTEMTIME utc{};
    GetSystemTime(&utc);
    SYSTEMTIME local = utc;
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    FILETIME utc_file{};
    FILETIME local_file{};
    SystemTimeToFileTime(&utc, &utc_file);
    SystemTimeToFileTime(&local, &local_file);
    const std::int64_t offset_ticks = ticks_of(local_file) - ticks_of(utc_file);
    return {local.wYear,
            local.wMonth,
            local.wDay,
            local.wHour,
            local.wMinute,
            local.wSecond,
            static_cast<int>((offset_ticks + (offset_ticks >= 0 ? 300000000 : -300000000)) /
                             600000000)};
}

int Win32Clock::utc_offset_minutes_at(std::int64_t utc_ms) {
    const std::int64_t ticks = utc_ms * 10000 + ticks_from_1601_to_1970;
    const FILETIME utc_file{static_cast<DWORD>(ticks & 0xFFFFFFFF),
                            static_cast<DWORD>(static_cast<std::uint64_t>(ticks) >> 32U)};
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    FILETIME local_file{};
    if (!FileTimeToSystemTime(&utc_file, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local) ||
        !SystemTimeToFileTime(&local, &local_file)) {
        return 0;
    }
    return static_cast<int>((ticks_of(local_file) - ticks) / 600'000'000);
}

std::int64_t Win32Clock::now_ms() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return milliseconds_of(now);
}

}  // namespace zvkob::win32
