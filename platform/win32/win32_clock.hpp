#pragma once
#include <windows.h>

#include "core/time_text.hpp"
#include "platform/clock.hpp"

namespace zvkob::win32 {

// Milliseconds since 1970 (UTC) of a file time.
std::int64_t milliseconds_of(const FILETIME& time);

// The local time now, with its offset from UTC.
LocalTime local_time_now();

class Win32Clock : public Clock {
public:
    std::int64_t now_ms() override;
    int utc_offset_minutes_at(std::int64_t utc_ms) override;
};

}  // namespace zvkob::win32
