#include "core/node_log/log_follower.hpp"

#include <algorithm>

namespace zvkob {
namespace {

// A line longer than this is no line of the node's: it is dropped.
constexpr std::size_t longest_line = follow_from_end_bytes;

// Reads until `bytes` bytes are read or the file gives no more.
std::string read_fully(OpenedLog& log, std::uint64_t offset, std::size_t bytes) {
    std::string text = log.read(offset, bytes);
    text.resize(std::min(text.size(), bytes));
    while (text.size() < bytes) {
        const std::string more = log.read(offset + text.size(), bytes - text.size());
        if (more.empty()) {
            break;
        }
        text.append(more, 0, std::min(more.size(), bytes - text.size()));
    }
    return text;
}

}  // namespace

const NewLogLines& LogFollower::poll(OpenedLog& log) {
    text_.erase(0, consumed_);
    consumed_ = 0;
    result_.lines.clear();
    result_.reading = LogReading::continued;
    result_.skipped_bytes = 0;

    const std::uint64_t size = log.size();
    if (!started_) {
        read_from_end(log, size, LogReading::from_end);
    } else if (size < offset_) {
        read_from_end(log, size, LogReading::restarted);
    } else if (size - offset_ > follow_most_new_bytes) {
        result_.skipped_bytes = size - follow_from_end_bytes - offset_;
        read_from_end(log, size, LogReading::jumped_ahead);
    } else if (size > offset_) {
        read_on(log, size);
    }
    split_lines();
    return result_;
}

void LogFollower::read_from_end(OpenedLog& log, std::uint64_t size, LogReading reading) {
    const std::uint64_t start = size > follow_from_end_bytes ? size - follow_from_end_bytes : 0;
    text_ = read_fully(log, start, static_cast<std::size_t>(size - start));
    started_ = true;
    offset_ = start + text_.size();
    anchor_size_ = 0;
    keep_anchor(text_);
    // Reading from the middle of the file: its first line is cut.
    skipping_cut_line_ = start > 0;
    result_.reading = reading;
}

void LogFollower::read_on(OpenedLog& log, std::uint64_t size) {
    const std::size_t anchor_size = anchor_size_;
    const std::string text = read_fully(log, offset_ - anchor_size,
                                        anchor_size + static_cast<std::size_t>(size - offset_));
    if (text.size() < anchor_size) {
        return;  // nothing to compare yet: the next poll reads again
    }
    if (!std::equal(anchor_.begin(), anchor_.begin() + static_cast<std::ptrdiff_t>(anchor_size),
                    text.begin())) {
        read_from_end(log, size, LogReading::restarted);
        return;
    }
    text_.append(text, anchor_size);
    offset_ += text.size() - anchor_size;
    keep_anchor(text);
}

void LogFollower::keep_anchor(std::string_view read_text) {
    // read_text ends at offset_ and holds at least the previous anchor.
    const std::size_t size = std::min(read_text.size(), follow_anchor_bytes);
    std::copy(read_text.end() - static_cast<std::ptrdiff_t>(size), read_text.end(),
              anchor_.begin());
    anchor_size_ = size;
}

void LogFollower::split_lines() {
    const std::string_view text = text_;
    std::size_t start = 0;
    for (auto end = text.find('\n'); end != text.npos; end = text.find('\n', start)) {
        if (skipping_cut_line_) {
            skipping_cut_line_ = false;
        } else {
            std::string_view line = text.substr(start, end - start);
            if (line.ends_with('\r')) {
                line.remove_suffix(1);
            }
            result_.lines.push_back(line);
        }
        start = end + 1;
    }
    consumed_ = start;
    if (skipping_cut_line_ || text.size() - start > longest_line) {
        skipping_cut_line_ = true;
        consumed_ = text.size();
    }
}

}  // namespace zvkob
