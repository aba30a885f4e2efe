#include "guardian/care/runway_watch.hpp"

namespace zvkob {

void RunwayWatch::follow(unsigned long node_id) {
    if (node_id != node_id_) {
        forget();
        node_id_ = node_id;
    }
}

void RunwayWatch::forget() {
    runway_.forget();
    node_id_ = 0;
    pruned_ = false;
    rpc_bytes_.reset();
    last_look_ms_.reset();
    last_walk_ms_.reset();
    walked_.reset();
}

void RunwayWatch::rpc_heard(std::optional<std::uint64_t> size_on_disk, bool pruned,
                            std::int64_t now_ms) {
    if (pruned) {
        runway_.forget();
    }
    pruned_ = pruned;
    if (size_on_disk) {
        rpc_bytes_ = size_on_disk;
        rpc_heard_ms_ = now_ms;
    }
}

// The node's own size is sampled as often as the runway keeps samples; the
// folder is walked only where the node does not tell its size, hourly.
std::optional<RunwayLook> RunwayWatch::look_due(std::int64_t now_ms) const {
    if (looking_ || pruned_ || node_id_ == 0) {
        return std::nullopt;
    }
    const bool rpc_fresh = rpc_bytes_ && now_ms - rpc_heard_ms_ < rpc_size_fresh_ms;
    if (rpc_fresh) {
        if (last_look_ms_ && now_ms - *last_look_ms_ < disk_sample_spacing_ms &&
            now_ms >= *last_look_ms_) {
            return std::nullopt;
        }
        return RunwayLook{rpc_bytes_, false};
    }
    if (!folder_scan_due(last_walk_ms_, now_ms)) {
        return std::nullopt;
    }
    return RunwayLook{std::nullopt, true};
}

void RunwayWatch::look_started(const RunwayLook& look, std::int64_t now_ms) {
    looking_ = true;
    walking_ = look.walk_folder;
    last_look_ms_ = now_ms;
    if (look.walk_folder) {
        last_walk_ms_ = now_ms;
    }
}

void RunwayWatch::look_done(unsigned long node_id, const std::optional<DiskSample>& sample) {
    looking_ = false;
    if (!sample || node_id != node_id_ || pruned_) {
        return;
    }
    if (walked_ && *walked_ != walking_) {
        runway_.forget();
    }
    walked_ = walking_;
    runway_.add(*sample);
}

}  // namespace zvkob
