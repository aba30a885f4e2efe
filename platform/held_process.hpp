#pragma once
#include <cstdint>
#include <optional>

namespace zvkob {

// How a process ended: its exit code, and when (milliseconds since 1970, UTC).
struct ProcessEnd {
    unsigned long exit_code = 0;
    std::int64_t at_ms = 0;
};

// A process held open by ZV-KOB. However process numbers are reused, it
// stays this very process, and it tells whether it has ended and how.
class HeldProcess {
public:
    virtual ~HeldProcess() = default;
    virtual unsigned long id() const = 0;
    // When it was created, in milliseconds since 1970 (UTC).
    virtual std::int64_t created_ms() const = 0;
    // How it ended; nothing while it runs.
    virtual std::optional<ProcessEnd> end() = 0;
};

}  // namespace zvkob
