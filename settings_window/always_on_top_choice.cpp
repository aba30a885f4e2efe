#include "settings_window/always_on_top_choice.hpp"

#include "settings_window/settings_window.hpp"

namespace zvkob {

void always_on_top_clicked(SettingsWindow& w) {
    w.main.take_over({.always_on_top = w.always_on_top.ticked()});
}

}  // namespace zvkob
