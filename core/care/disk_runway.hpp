#pragma once
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace zvkob {

// The node's growth is judged over at most this window, and only once the
// samples span at least disk_growth_least_ms: one large block or a flush of
// the cache says little about the days ahead.
inline constexpr std::int64_t disk_growth_window_ms = 24 * 3'600'000;
inline constexpr std::int64_t disk_growth_least_ms = 3'600'000;
// Samples closer together than this replace each other: at most about 300
// are kept, however often the node is asked.
inline constexpr std::int64_t disk_sample_spacing_ms = 5 * 60'000;
// The tooltip tells the runway below the first, a notice and the history
// below the second; the notice is given again only after the runway has
// grown past the third (space freed, or a node that grows slower).
inline constexpr double runway_tooltip_days = 60;
inline constexpr double runway_notice_days = 7;
inline constexpr double runway_rearm_days = 14;
// The whole data folder is walked at most this often where the node's own
// size_on_disk cannot be asked.
inline constexpr std::int64_t folder_scan_every_ms = 3'600'000;

// One look at the node's drive.
struct DiskSample {
    std::int64_t at_ms = 0;
    std::uint64_t node_bytes = 0;  // size_on_disk, or the data folder's size
    std::uint64_t free_bytes = 0;  // free for the user on the node's drive
    bool pruned = false;           // a pruned node keeps its size: it has no runway
};

// A notice that the node's drive is filling up.
struct RunwayNotice {
    std::string text;   // the quiet notice's text
    std::string event;  // the history line
};

// How many days the node's drive lasts at the node's growth of the last hours.
class DiskRunway {
public:
    void add(const DiskSample& sample);
    // Another node, data folder or a pruned node: the samples say nothing now.
    void forget() { samples_.clear(); }

    // None before an hour of samples, and while the node does not grow.
    std::optional<double> days_left() const;
    // "Disk full in about 12 days" below runway_tooltip_days, else "".
    std::string tooltip_line() const;
    // The notice below runway_notice_days, once until the runway has grown
    // past runway_rearm_days again.
    std::optional<RunwayNotice> take_notice();

private:
    std::deque<DiskSample> samples_;
    bool told_ = false;
};

// Whether the data folder is to be walked for its size now.
bool folder_scan_due(std::optional<std::int64_t> last_scan_ms, std::int64_t now_ms);

// "about 12 days", "about 1 day", "less than a day".
std::string runway_words(double days);

}  // namespace zvkob
