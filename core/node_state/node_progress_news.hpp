#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/node_state/node_progress_state.hpp"

namespace zvkob {

// What changed since it was last asked.
struct ProgressNews {
    std::vector<std::string> events;    // history lines, oldest first
    std::vector<std::string> warnings;  // the node's warnings, each once per run, oldest first
    bool alarm = false;  // it became stuck or needs attention: flash the taskbar once
};

// Whether a change from `before` to `after` is worth a history line: the
// condition, or the start's phase, the reason of a stuck or unknown state.
bool same_progress_state(const NodeProgressState& before, const NodeProgressState& after);

// Whether the node is in a state that flashes the taskbar button once.
bool is_progress_alarm(NodeCondition condition);

// Follows the node's state as it is shown and tells each change once: its
// history line, and whether it became stuck or needs attention. It times
// each catch-up, so that the state that ends it says how long it took.
class ProgressTeller {
public:
    // The state of now: its catching_up_ms is set; what changed is added to `news`.
    void follow(NodeProgressState& state, std::int64_t now_ms, int utc_offset_minutes,
                ProgressNews& news);
    // The node was started again: a catch-up is timed from its next one.
    void node_started() { catching_up_since_ms_.reset(); }
    // Nothing is shown any more: the next state is told as new.
    void forget() { *this = ProgressTeller(); }
    const NodeProgressState& told() const { return told_; }

private:
    std::optional<std::int64_t> catching_up_since_ms_;
    NodeProgressState told_;
};

}  // namespace zvkob
