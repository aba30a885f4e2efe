#pragma once
#include <cstdint>

namespace zvkob {

// The time now, in milliseconds since 1 January 1970 (UTC): when a program
// was seen running, how long it ran, when the node's log was written.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t now_ms() = 0;
    // How far the user's local time was ahead of UTC at that moment, in minutes.
    virtual int utc_offset_minutes_at(std::int64_t utc_ms) = 0;
};

}  // namespace zvkob
