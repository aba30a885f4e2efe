#pragma once
#include "core/controls.hpp"

namespace zvkob {

// What follows the choice of program: LAUNCH, "Auto Start" and "Auto Close".
struct LaunchModeFollowers {
    Button& launch;
    Tickbox& auto_start;
    Tickbox& auto_close;
};

// The rule of the "QT" and "DAEMON" tickboxes, `changed` being the tick of
// the program whose choice changed. They keep at most one of the two ticked, and LAUNCH and
// "Auto Start" follow the choice: with no program chosen there is nothing to
// launch or to start automatically. It runs whenever a tick changes, nested
// inside whatever changed it.
void launch_mode_rule(Tickbox& changed, Tickbox& other, const LaunchModeFollowers& followers);

}  // namespace zvkob
