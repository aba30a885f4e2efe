#pragma once
#include <cstdint>

namespace zvkob {

// What the service tells the service manager of itself.
class ServiceStatus {
public:
    virtual ~ServiceStatus() = default;
    virtual void running() = 0;
    // Stopping, at this checkpoint, the next one due within `wait_hint_ms`.
    virtual void stop_pending(std::uint32_t checkpoint, std::uint32_t wait_hint_ms) = 0;
    // The service has done its work: the service manager is told once all
    // it held is let go of.
    virtual void stopped(std::uint32_t exit_code) = 0;
};

}  // namespace zvkob
