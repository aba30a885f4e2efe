#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "core/outcome.hpp"
#include "platform/log_files.hpp"

namespace zvkob {

// A log of lines that never grows past its limit: when a line would take it
// past, the file becomes the old log (replacing an older one) and a new one
// is begun.
class RotatingLog {
public:
    static constexpr std::uint64_t one_mebibyte = 1U << 20U;

    RotatingLog(LogFiles& files, std::string path, std::string old_path,
                std::uint64_t limit = one_mebibyte);

    // Appends the line and a line end.
    Outcome append_line(std::string_view line);

private:
    LogFiles& files_;
    std::string path_;
    std::string old_path_;
    std::uint64_t limit_;
};

}  // namespace zvkob
