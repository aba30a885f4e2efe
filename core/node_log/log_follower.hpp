#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zvkob {

// The node's log, opened by the platform for one reading (sharing read, write
// and delete, so the node is never hindered) and closed right after it.
class OpenedLog {
public:
    virtual ~OpenedLog() = default;
    // Taken from the open handle: the directory entry lags while the node writes.
    virtual std::uint64_t size() = 0;
    // Up to `bytes` bytes from `offset`; fewer, or none, when the file ends
    // sooner or the read fails.
    virtual std::string read(std::uint64_t offset, std::size_t bytes) = 0;
};

// Where a reading began.
enum class LogReading {
    continued,     // where the previous reading ended
    from_end,      // the first reading: the file's last bytes
    restarted,     // the file's last bytes again: it shrank or was replaced
    jumped_ahead,  // the file's last bytes: too much was new to read it all
};

struct NewLogLines {
    // Whole lines without their line ends, valid until the next poll.
    std::vector<std::string_view> lines;
    LogReading reading = LogReading::continued;
    std::uint64_t skipped_bytes = 0;  // left unread by a jump ahead
};

inline constexpr std::size_t follow_from_end_bytes = 64 * 1024;
inline constexpr std::uint64_t follow_most_new_bytes = 1024 * 1024;
inline constexpr std::size_t follow_anchor_bytes = 16;

// Reads what the node added to its log since the previous poll. A file whose
// size did not change is not read at all. The bytes just before the last
// offset are read again and compared, to notice a file that was replaced.
class LogFollower {
public:
    const NewLogLines& poll(OpenedLog& log);

private:
    void read_from_end(OpenedLog& log, std::uint64_t size, LogReading reading);
    void read_on(OpenedLog& log, std::uint64_t size);
    void keep_anchor(std::string_view read_text);
    void split_lines();

    bool started_ = false;
    std::uint64_t offset_ = 0;  // the file's bytes before it are in text_ or done
    std::array<char, follow_anchor_bytes> anchor_{};
    std::size_t anchor_size_ = 0;  // the bytes just before offset_ kept in anchor_
    std::string text_;             // a partial last line, then the new bytes
    std::size_t consumed_ = 0;     // the bytes of text_ handed out as lines
    bool skipping_cut_line_ = false;
    NewLogLines result_;
};

}  // namespace zvkob
