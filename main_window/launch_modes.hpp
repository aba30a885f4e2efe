#pragma once
#include "main_window/main_window.hpp"

namespace zvkob {

// The rules of the "QT" and "DAEMON" tickboxes. They keep at most one of the
// two ticked, and LAUNCH and "Auto Start" follow the choice: with no program
// chosen there is nothing to launch or to start automatically. Each runs
// whenever its tick changes, nested inside whatever changed it.
void use_qt_bat_rule(MainWindow& window);
void use_daemon_bat_rule(MainWindow& window);

}  // namespace zvkob
