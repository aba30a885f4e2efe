#include "guardian/restart_history.hpp"

#include <algorithm>
#include <array>

namespace zvkob {
namespace {

using std::chrono::milliseconds;
using std::chrono::minutes;
constexpr milliseconds restart_window = minutes(60);

}  // namespace

milliseconds back_off(int short_runs) {
    constexpr std::array<milliseconds, 4> waits{minutes(0), minutes(1), minutes(5), minutes(15)};
    return waits[static_cast<std::size_t>(std::clamp(short_runs, 0, 3))];
}

std::optional<milliseconds> RestartHistory::next_wait(bool short_run, std::int64_t now_ms) {
    std::erase_if(restarts_ms_,
                  [now_ms](std::int64_t at) { return milliseconds(now_ms - at) > restart_window; });
    if (restarts_ms_.size() >= restarts_per_hour) {
        return std::nullopt;
    }
    short_runs_ = short_run ? short_runs_ + 1 : 0;
    return back_off(short_runs_);
}

}  // namespace zvkob
