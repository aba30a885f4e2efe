#pragma once
#include <cstdint>
#include <optional>

namespace zvkob {

// When to ask the node's RPC next: every five seconds while the node runs,
// never faster; after a busy node or no answer at all, less and less often
// (5, 10, 20, 40, then every 60 s); with no RPC to ask, never.
class RpcPollSchedule {
public:
    static constexpr std::int64_t interval_ms = 5'000;
    static constexpr std::int64_t longest_wait_ms = 60'000;

    // The node runs from now: ask at once.
    void node_running(std::int64_t now_ms);
    // The node stopped, or it has no RPC to ask: ask nothing until it runs again.
    void stop_asking() { next_ms_.reset(); }
    // The PC woke from sleep: what was known is old; ask at once, unless
    // nothing is asked at all.
    void ask_now(std::int64_t now_ms);

    bool due(std::int64_t now_ms) const { return next_ms_ && now_ms >= *next_ms_; }
    // An answer came (or the node is warming up): the next one in five seconds.
    void answered(std::int64_t now_ms);
    // Busy (503) or not reached: wait twice as long as the last time, up to a minute.
    void failed(std::int64_t now_ms);

private:
    std::optional<std::int64_t> next_ms_;
    std::int64_t wait_ms_ = interval_ms;
    bool failing_ = false;
};

}  // namespace zvkob
