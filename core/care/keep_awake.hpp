#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "core/node_state/node_progress.hpp"

namespace zvkob {

// A changed reason (the node's height moves) is given to Windows at most this
// often: each change creates a new power request.
inline constexpr std::int64_t awake_reason_every_ms = 10 * 60'000;
// A node whose state is unknown (its log unread for a moment, a restart of
// ZV-KOB's reading) keeps the PC awake this long before it lets go.
inline constexpr std::int64_t awake_unknown_grace_ms = 10 * 60'000;

// What the PC should be kept awake for at a moment.
struct AwakeFacts {
    bool ticked = false;                     // Keep the PC Awake While Catching Up
    bool node_runs = false;                  // this copy's node runs
    bool closing = false;                    // ZV-KOB closes, whichever way
    std::optional<NodeCondition> condition;  // none while nothing is known of the node
    std::optional<std::int64_t> height;      // the node's tip
};

// What to do with the power request now.
struct AwakeStep {
    enum class Action { none, hold, refresh, let_go };
    Action action = Action::none;
    std::string reason;  // for hold and refresh: what Windows shows as the request's reason
    std::string event;   // for let_go: the history line; for hold, see holding_event()
};

// The reason Windows shows (powercfg /requests):
// "ZV-KOB keeps this PC awake while the node catches up (block 812,345)".
std::string awake_reason(std::optional<std::int64_t> height);

// The history line once the PC is held awake; `how` says by what means
// (awake_means_words()) and `failure` why it could not be.
std::string holding_event(std::string_view how, std::string_view failure);

// Holds the PC awake while the tick is on and this copy's node starts or
// catches up, and lets go once it is synced, stuck, needs attention, stops,
// has been unknown for long, or ZV-KOB closes. Each start and end of holding
// is told once.
class KeepAwake {
public:
    AwakeStep update(const AwakeFacts& facts, std::int64_t now_ms);
    bool holding() const { return holding_; }
    // Windows refused the hold (holding_event() told why): it is not asked
    // again, nor a let-go told, until the node next needs it.
    void hold_refused() { refused_ = true; }

private:
    bool wanted(const AwakeFacts& facts, std::int64_t now_ms);

    bool holding_ = false;
    bool refused_ = false;
    std::string reason_;
    std::int64_t reason_set_ms_ = 0;
    std::optional<std::int64_t> unknown_since_ms_;
    std::optional<NodeCondition> last_known_;
};

}  // namespace zvkob
