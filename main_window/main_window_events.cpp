#include "main_window/main_window_events.hpp"

#include "main_window/always_on_top.hpp"

namespace zvkob {

void wire_main_window_events(MainWindow& w) {
    w.SETTINGS_BUTTON.set_on_click([&w] { w.services.windows.show_settings_window(); });
    w.AlwaysOnTopTimer.set_on_tick([&w] { always_on_top_tick(w); });
    w.AlwaysOnTopTimer_TICKBOX.set_on_click(
        [&w] { switch_always_on_top(w, w.AlwaysOnTopTimer_TICKBOX.tick() == 1); });
}

}  // namespace zvkob
