#include "main_window/always_on_top.hpp"

namespace zvkob {

void always_on_top_tick(MainWindow& w) {
    WindowManager& windows = w.services.windows;
    const WindowHandle main = windows.main_window();
    if (windows.foreground_window() == main) {
        return;
    }
    windows.place_topmost(main, true);
}

void switch_always_on_top(MainWindow& w, bool on) {
    w.always_on_top_timer.set_enabled(on);
    if (!on) {
        w.services.windows.place_topmost(w.services.windows.main_window(), false);
    }
}

}  // namespace zvkob
