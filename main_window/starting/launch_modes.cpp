#include "main_window/starting/launch_modes.hpp"

namespace zvkob {

// The two rules are mirror images: `changed` is the program whose choice changed.
void launch_mode_rule(MainWindow& w, NodeProgram& changed, NodeProgram& other) {
    if (changed.chosen.ticked()) {
        other.chosen.set_enabled(false);
        other.chosen.set_tick(0);
        w.launch_button.set_enabled(true);
        w.auto_start.set_enabled(true);
    } else {
        other.chosen.set_enabled(true);
        w.launch_button.set_enabled(false);
        w.auto_start.set_enabled(false);
        w.auto_start.set_tick(0);
        w.auto_close.set_tick(0);
    }
}

}  // namespace zvkob
