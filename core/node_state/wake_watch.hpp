#pragma once
#include <cstdint>
#include <optional>

namespace zvkob {

// A gap this long between two of the watcher's ticks (twice a second) means
// the PC slept or hibernated in between.
inline constexpr std::int64_t wake_gap_ms = 60'000;

// Tells when the PC woke: Windows' power event (PBT_APMRESUMEAUTOMATIC), or a
// gap of wake_gap_ms or more between the watcher's ticks, for a wake that
// sends no event to this window. Whichever comes first tells the wake; the
// other sign of the same wake, within wake_gap_ms of it, tells nothing more.
class WakeWatch {
public:
    // The watcher ticks: how long the PC was away, when it woke since the last tick.
    std::optional<std::int64_t> tick(std::int64_t now_ms);
    // Windows says the PC resumed: how long since the last tick, unless the
    // gap told this wake already.
    std::optional<std::int64_t> power_resumed(std::int64_t now_ms);

private:
    std::optional<std::int64_t> woke(std::int64_t now_ms);

    std::optional<std::int64_t> last_tick_ms_;
    std::optional<std::int64_t> told_ms_;  // when the last wake was told
};

}  // namespace zvkob
