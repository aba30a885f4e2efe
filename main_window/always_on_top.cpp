#include "main_window/always_on_top.hpp"

namespace zvkob {

void always_on_top_tick(WindowManager& windows) {
    const WindowHandle main = windows.main_window();
    if (windows.foreground_window() == main) {
        return;
    }
    windows.place_topmost(main, true);
}

void switch_always_on_top(WindowManager& windows, Timer& lift, bool on) {
    lift.set_enabled(on);
    if (!on) {
        windows.place_topmost(windows.main_window(), false);
    }
}

}  // namespace zvkob
