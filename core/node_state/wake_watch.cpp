#include "core/node_state/wake_watch.hpp"

#include <algorithm>

namespace zvkob {

std::optional<std::int64_t> WakeWatch::tick(std::int64_t now_ms) {
    const bool gap = last_tick_ms_ && now_ms - *last_tick_ms_ >= wake_gap_ms;
    const std::optional<std::int64_t> away = gap ? woke(now_ms) : std::nullopt;
    last_tick_ms_ = now_ms;
    return away;
}

std::optional<std::int64_t> WakeWatch::power_resumed(std::int64_t now_ms) {
    const std::optional<std::int64_t> away = woke(now_ms);
    last_tick_ms_ = now_ms;  // the next tick's gap is not this wake again
    return away;
}

std::optional<std::int64_t> WakeWatch::woke(std::int64_t now_ms) {
    if (told_ms_ && now_ms - *told_ms_ < wake_gap_ms && now_ms >= *told_ms_) {
        return std::nullopt;  // the other sign of the wake just told
    }
    told_ms_ = now_ms;
    return std::max<std::int64_t>(0, now_ms - last_tick_ms_.value_or(now_ms));
}

}  // namespace zvkob
