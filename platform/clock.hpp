#pragma once
#include <cstdint>

namespace zvkob {

// The time now, in milliseconds since 1 January 1970 (UTC): when a program
// was seen running, how long it ran, when the node's log was written.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t now_ms() = 0;
};

}  // namespace zvkob
