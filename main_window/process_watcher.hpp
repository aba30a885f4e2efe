#pragma once
#include "main_window/main_window.hpp"

namespace zvkob {

// Twice a second: asks whether the QT and the DAEMON program run, shows both
// answers, and lets LAUNCH be pressed only while neither runs. The image names
// are read afresh each time, so a name the settings window changed counts at
// once. A failed query leaves that program's state as it was; the other
// program and LAUNCH are still brought up to date. A program seen starting or
// stopping, and the query failing or answering again, go into the history; a
// chosen program that stopped is Keep Node Running's to decide on.
void process_watcher_tick(MainWindow& window);

}  // namespace zvkob
