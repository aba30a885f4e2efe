#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zvkob {

// The answer to "does a process with this image name run?", or why the
// system's process query could not answer it.
struct ProbeAnswer {
    bool running = false;
    std::string failure;  // empty when the query answered
    // How many processes have the name, where the query counted them.
    std::optional<std::size_t> count = std::nullopt;

    bool answered() const { return failure.empty(); }
};

class ProcessProbe {
public:
    virtual ~ProcessProbe() = default;
    virtual ProbeAnswer is_running(std::string_view image_name) = 0;
};

}  // namespace zvkob
