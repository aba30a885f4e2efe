#include "core/node_state/node_progress_news.hpp"

#include <algorithm>

#include "core/node_state/node_progress_text.hpp"

namespace zvkob {

bool is_progress_alarm(NodeCondition condition) {
    return condition == NodeCondition::stuck || condition == NodeCondition::needs_attention;
}

bool same_progress_state(const NodeProgressState& before, const NodeProgressState& after) {
    if (before.condition != after.condition) {
        return false;
    }
    switch (after.condition) {
        case NodeCondition::starting:
            return before.phase == after.phase;
        case NodeCondition::stuck:
            return before.stuck_reason == after.stuck_reason;
        case NodeCondition::unknown:
            return before.unknown_reason == after.unknown_reason;
        default:
            return true;
    }
}

void ProgressTeller::follow(NodeProgressState& state, std::int64_t now_ms, int utc_offset_minutes,
                            ProgressNews& news) {
    if (catching_up_since_ms_ && *catching_up_since_ms_ > now_ms) {
        catching_up_since_ms_ = now_ms;  // the clock went back
    }
    if (state.condition == NodeCondition::catching_up && !catching_up_since_ms_) {
        catching_up_since_ms_ = now_ms;
    }
    if (catching_up_since_ms_) {
        state.catching_up_ms = now_ms - *catching_up_since_ms_;
    }
    if (!same_progress_state(told_, state)) {
        if (std::string event = progress_event(told_, state, utc_offset_minutes); !event.empty()) {
            news.events.push_back(std::move(event));
        }
        news.alarm = news.alarm ||
                     (is_progress_alarm(state.condition) && !is_progress_alarm(told_.condition));
    }
    // The first synced state still carries how long the catch-up took.
    if (state.condition == NodeCondition::synced) {
        catching_up_since_ms_.reset();
    }
    told_ = state;
}

}  // namespace zvkob
