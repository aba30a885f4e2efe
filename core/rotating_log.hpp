#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/outcome.hpp"
#include "platform/log_files.hpp"

namespace zvkob {

// A log of lines that never grows past its limit: when a line would take it
// past, the file becomes the old log (replacing an older one) and a new one
// is begun. When the file cannot be moved (a viewer holds it open without
// letting it be renamed), the line is written all the same and the move is
// tried again at the next line; the log says once why it goes on growing.
class RotatingLog {
public:
    static constexpr std::uint64_t one_mebibyte = 1U << 20U;
    // Makes a line of the log's own from its text (the history stamps it with the time).
    using OwnLine = std::function<std::string(std::string_view text)>;

    RotatingLog(LogFiles& files, std::string path, std::string old_path,
                std::uint64_t limit = one_mebibyte, OwnLine own_line = nullptr);

    // Appends the line and a line end.
    Outcome append_line(std::string_view line);

private:
    LogFiles& files_;
    std::string path_;
    std::string old_path_;
    std::uint64_t limit_;
    OwnLine own_line_;
    bool told_cannot_move_ = false;
};

}  // namespace zvkob
