#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/outcome.hpp"

namespace zvkob {

// The few file operations a log needs.
class LogFiles {
public:
    virtual ~LogFiles() = default;
    // The size of a file, or nothing when there is none.
    virtual std::optional<std::uint64_t> size(std::string_view path) = 0;
    // Appends the bytes, creating the file and its folder when missing.
    virtual Outcome append(std::string_view path, std::string_view bytes) = 0;
    // Moves a file onto another path, replacing what was there.
    virtual Outcome replace(std::string_view from, std::string_view to) = 0;
};

}  // namespace zvkob
