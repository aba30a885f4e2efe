#pragma once
#include <windows.h>

#include <cstddef>
#include <vector>

#include "core/controls.hpp"
#include "core/event_gate.hpp"
#include "platform/win32/windows/top_level_window.hpp"

namespace zvkob::win32 {

// A window's timers as Windows timers of that window: each runs while its
// model is switched on, and its ticks go to the model through the event gate.
class WindowTimers {
public:
    WindowTimers(const TopLevelWindow& window, const std::vector<Timer*>& timers, EventGate& gate)
        : window_(window), timers_(timers), gate_(gate) {}

    // Follows the models of the timers, starting those switched on, or no longer.
    void observe();
    void forget();

    // One tick of Windows timer `id` (WM_TIMER).
    void tick(WPARAM id);

private:
    void apply(std::size_t index) const;

    const TopLevelWindow& window_;
    const std::vector<Timer*>& timers_;
    EventGate& gate_;
};

}  // namespace zvkob::win32
