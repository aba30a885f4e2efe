#pragma once
#include "main_window/main_window.hpp"

namespace zvkob {

// The rule of the "QT" and "DAEMON" tickboxes, `changed` being the program
// whose tick changed. They keep at most one of the two ticked, and LAUNCH and
// "Auto Start" follow the choice: with no program chosen there is nothing to
// launch or to start automatically. It runs whenever a tick changes, nested
// inside whatever changed it.
void launch_mode_rule(MainWindow& window, NodeProgram& changed, NodeProgram& other);

}  // namespace zvkob
