#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zvkob {

// One clean stop of the node, measured from its log.
struct MeasuredStop {
    std::int64_t done_utc_ms = 0;     // when it wrote its done line: names the stop
    std::int64_t took_ms = 0;         // from its in-progress line to its done line
    std::optional<double> cache_mib;  // the cache of its last new block before the stop
};

inline constexpr std::size_t measured_stops_kept = 10;
// With no stop measured: a node catching up holds a large cache to write.
inline constexpr std::int64_t default_stop_catching_up_ms = 15 * 60'000;
inline constexpr std::int64_t default_stop_synced_ms = 2 * 60'000;
// Stands for the part of a stop that does not grow with the cache (threads,
// peers, wallets, closing the databases), in MiB of cache written.
inline constexpr double stop_fixed_part_mib = 100.0;

// What the node's next stop is expected to take, and what that rests on.
struct ExpectedStop {
    enum class Basis { measured, default_catching_up, default_synced };
    std::int64_t ms = 0;
    Basis basis = Basis::default_catching_up;
    std::optional<std::int64_t> last_took_ms;  // measured: what its last stop took
};

// Where the record of a copy's node stops is kept: beside its history
// (".../ZV-KOB/<instance>.log" gives ".../ZV-KOB/<instance>.node-stops").
std::string node_stop_record_path(std::string_view history_path);

// The cache of an UpdateTip line's message ("... cache=1433.6MiB(10245633txo)").
std::optional<double> cache_mib_of(std::string_view message);

// Of lines of the node's log, those take() needs, in their order: its
// version, in-progress and done lines, and of each row of new-block lines
// only the last one that names its cache. A reading of the log hands these
// on from the worker, not the thousands of lines of a catch-up.
std::vector<std::string> stop_time_lines(std::span<const std::string_view> lines);

// The node's last ten stops and its cache of now, from the lines of its log.
//
// Kept in a small record of ZV-KOB's rather than read from the log each
// time: the node cuts its log to its last 10 MB at start, and a catch-up
// writes that much in minutes, so the stops that matter most (those with a
// large cache, during a catch-up) are soon gone from it.
//
// The expected stop time scales with the cache: a stop is mostly the writing
// of the cache to disk (public figures: 67 s for 1.4 GiB, 13 min for 9 GB).
// Each kept stop is scaled by (cache now + fixed part) / (its cache + fixed
// part), and the longest result is taken: a stop expected too short costs a
// damaged database, one expected too long only a few minutes of the node's
// running. Without today's cache or a stop's, that stop counts as it took.
class NodeStopTimes {
public:
    // From a record written by record(); lines it cannot read are left out.
    static NodeStopTimes from_record(std::string_view record);
    // Adds the stops of a record to those kept (a record read late, after
    // stops were measured here): each once, the last ten kept.
    void take_record(std::string_view record);
    // One stop a line: "<done, ms since 1970> <took ms> <cache MiB or ->".
    std::string record() const;

    // Lines of the node's log in the order it wrote them, from one reading
    // after another, of any of its runs. Returns whether a stop not yet kept
    // was measured (the record is then worth writing).
    bool take(std::span<const std::string_view> lines);

    // Oldest first.
    const std::vector<MeasuredStop>& stops() const { return stops_; }
    // The cache of the running node's last new block, if any since its start.
    std::optional<double> cache_mib() const { return cache_mib_; }
    // `synced`: the node is synced now (the default is its).
    ExpectedStop expected(bool synced) const;

private:
    bool keep(const MeasuredStop& stop);

    std::vector<MeasuredStop> stops_;
    std::optional<double> cache_mib_;
    struct Stopping {
        std::int64_t began_utc_ms = 0;
        std::optional<double> cache_mib;
    };
    std::optional<Stopping> stopping_;
};

}  // namespace zvkob
