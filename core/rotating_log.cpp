#include "core/rotating_log.hpp"

namespace zvkob {

RotatingLog::RotatingLog(LogFiles& files, std::string path, std::string old_path,
                         std::uint64_t limit)
    : files_(files), path_(std::move(path)), old_path_(std::move(old_path)), limit_(limit) {}

Outcome RotatingLog::append_line(std::string_view line) {
    const std::string bytes = std::string(line) + "\r\n";
    const auto size = files_.size(path_);
    if (size && *size > 0 && *size + bytes.size() > limit_) {
        if (const Outcome moved = files_.replace(path_, old_path_); !moved) {
            return moved;
        }
    }
    return files_.append(path_, bytes);
}

}  // namespace zvkob
