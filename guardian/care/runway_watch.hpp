#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "core/care/disk_runway.hpp"

namespace zvkob {

// The node's size as its RPC tells it counts this long; after that the data
// folder is walked again (at most hourly).
inline constexpr std::int64_t rpc_size_fresh_ms = 10 * 60'000;
// A walk of the data folder that takes longer gives no sample. It has a lane
// of its own (Lane::folder_walk): the log's reading never waits for it.
inline constexpr std::int64_t folder_walk_limit_ms = 10'000;

// What the worker is to look at for one sample of the node's drive.
struct RunwayLook {
    std::optional<std::uint64_t> node_bytes;  // the node's own size_on_disk, when fresh
    bool walk_folder = false;                 // else the data folder's size
};

// The disk runway of this copy's node: its samples, where its size comes
// from, and one look at the drive at a time.
class RunwayWatch {
public:
    // The node of this copy, by its process: another node starts afresh.
    void follow(unsigned long node_id);
    void forget();

    // What the node's RPC said: its size_on_disk (when it told one) and
    // whether it is pruned (which has no runway).
    void rpc_heard(std::optional<std::uint64_t> size_on_disk, bool pruned, std::int64_t now_ms);

    // The look due now, if any.
    std::optional<RunwayLook> look_due(std::int64_t now_ms) const;
    void look_started(const RunwayLook& look, std::int64_t now_ms);
    // The look's answer, for the node it was taken for: a sample, or none
    // when the drive or the folder could not be told.
    void look_done(unsigned long node_id, const std::optional<DiskSample>& sample);
    bool looking() const { return looking_; }

    // "Disk full in about 12 days", or "" (a pruned node has none).
    std::string tooltip_line() const { return pruned_ ? std::string() : runway_.tooltip_line(); }
    std::optional<RunwayNotice> take_notice() { return runway_.take_notice(); }

private:
    DiskRunway runway_;
    unsigned long node_id_ = 0;
    bool pruned_ = false;
    std::optional<std::uint64_t> rpc_bytes_;
    std::int64_t rpc_heard_ms_ = 0;
    std::optional<std::int64_t> last_look_ms_;
    std::optional<std::int64_t> last_walk_ms_;
    bool looking_ = false;
    // Whether the samples are the node's own size or the folder's: the two
    // differ (the folder holds more), so a change of source starts afresh.
    std::optional<bool> walked_;
    bool walking_ = false;
};

}  // namespace zvkob
