#include "main_window/starting/launch_modes.hpp"

namespace zvkob {

// The two rules are mirror images: `changed` is the program whose choice changed.
void launch_mode_rule(Tickbox& changed, Tickbox& other, const LaunchModeFollowers& followers) {
    if (changed.ticked()) {
        other.set_enabled(false);
        other.set_tick(0);
        followers.launch.set_enabled(true);
        followers.auto_start.set_enabled(true);
    } else {
        other.set_enabled(true);
        followers.launch.set_enabled(false);
        followers.auto_start.set_enabled(false);
        followers.auto_start.set_tick(0);
        followers.auto_close.set_tick(0);
    }
}

}  // namespace zvkob
