#pragma once
#include "main_window/main_window.hpp"

namespace zvkob {

// Ten seconds after an automatic launch, and every ten seconds while the
// timer stays on: with "Auto Close" ticked, closes ZV-KOB once a node
// program is seen running, or gives up when none runs.
void auto_close_tick(MainWindow& window);

// Asks the process query afresh: with a node program running, turns the
// indicator red and closes ZV-KOB (the settings window first, when it is
// open, and this is asked again once it has closed); with none running,
// gives up (indicator pink, auto-close off).
void close_if_a_node_runs(MainWindow& window);

// "Auto Start" gates "Auto Close": clearing it also clears and locks "Auto Close".
void auto_start_rule(MainWindow& window);

}  // namespace zvkob
