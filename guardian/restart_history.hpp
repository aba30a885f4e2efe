#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace zvkob {

// Keep Node Running gives up after this many restarts within an hour.
inline constexpr std::size_t restarts_per_hour = 5;

// The wait before the restart countdown after `short_runs` restarts in a row
// that ran less than five minutes.
std::chrono::milliseconds back_off(int short_runs);

// What Keep Node Running remembers between stops of the node: how often it
// restarted it, for the waits between restarts and the give-up.
class RestartHistory {
public:
    // The wait before the next restart, or none once it restarted the node
    // five times within the last hour (it gives up). `short_run`: the node
    // ran less than five minutes after its last restart.
    std::optional<std::chrono::milliseconds> next_wait(bool short_run, std::int64_t now_ms);
    // The countdown started the node again for it.
    void restarted(std::int64_t now_ms) { restarts_ms_.push_back(now_ms); }
    // Whether there is any back-off to end.
    bool any() const { return short_runs_ != 0 || !restarts_ms_.empty(); }
    // LAUNCH or START by the user: the node is the user's again.
    void forget() {
        short_runs_ = 0;
        restarts_ms_.clear();
    }

private:
    int short_runs_ = 0;                     // restarts in a row that ran less than five minutes
    std::vector<std::int64_t> restarts_ms_;  // when it restarted the node, the last hour's
};

}  // namespace zvkob
