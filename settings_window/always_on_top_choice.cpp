#include "settings_window/always_on_top_choice.hpp"

#include "main_window/always_on_top.hpp"
#include "settings_window/settings_window.hpp"

namespace zvkob {

void always_on_top_clicked(SettingsWindow& w) {
    const bool on = w.AlwaysOnTopTimer_TICKBOX.tick() == 1;
    switch_always_on_top(w.main, on);
    w.main.AlwaysOnTopTimer_TICKBOX.set_tick(on ? 1 : 0);
}

}  // namespace zvkob
