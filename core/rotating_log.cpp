#include "core/rotating_log.hpp"

namespace zvkob {

RotatingLog::RotatingLog(LogFiles& files, std::string path, std::string old_path,
                         std::uint64_t limit, OwnLine own_line)
    : files_(files),
      path_(std::move(path)),
      old_path_(std::move(old_path)),
      limit_(limit),
      own_line_(std::move(own_line)) {}

Outcome RotatingLog::append_line(std::string_view line) {
    std::string bytes = std::string(line) + "\r\n";
    bool telling = false;
    const auto size = files_.size(path_);
    if (size && *size > 0 && *size + bytes.size() > limit_) {
        if (const Outcome moved = files_.replace(path_, old_path_); moved) {
            told_cannot_move_ = false;  // a later failure is told again
        } else if (!told_cannot_move_) {
            const std::string why = moved.reason() +
                                    " The history goes on in this file, past its limit, "
                                    "and is moved as soon as it can be.";
            bytes = (own_line_ ? own_line_(why) : why) + "\r\n" + bytes;
            telling = true;
        }
    }
    const Outcome written = files_.append(path_, bytes);
    told_cannot_move_ = told_cannot_move_ || (telling && written);
    return written;
}

}  // namespace zvkob
