#pragma once
#include <cstdint>

namespace zvkob {

// What a stopping service tells the service manager at each look: a
// checkpoint that rises each time (Windows takes a still one for a service
// that hangs) and how long until the next.
struct PendingStop {
    std::uint32_t checkpoint = 0;
    std::uint32_t wait_hint_ms = 0;
};

class StopPendingReport {
public:
    // The service looks twice a second; a few looks may be missed under load.
    static constexpr std::uint32_t wait_hint_ms = 10'000;

    PendingStop next() { return {++checkpoint_, wait_hint_ms}; }

private:
    std::uint32_t checkpoint_ = 0;
};

}  // namespace zvkob
