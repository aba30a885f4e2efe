#pragma once
#include <cstdint>
#include <optional>

#include "main_window/main_window.hpp"

namespace zvkob {

// Twice a second: asks whether the QT and the DAEMON program run, shows both
// answers, and lets LAUNCH be pressed only while neither runs. The image names
// are read afresh each time, so a name the settings window changed counts at
// once. A process of that name counts unless it is known to be another
// copy's node. A failed query leaves that program's state as it was; the
// other program and LAUNCH are still brought up to date. This copy's node is
// followed by its handle: when it ends, the history says how, Keep Node
// Running decides, and a stop that was asked for or a held sign-out goes on,
// even while a message box is open.
void process_watcher_tick(MainWindow& window);

// Another copy of ZV-KOB asks whether `process_id` is this copy's node: the
// mark of this copy's data folder when it is (see folder_mark), else nothing.
std::optional<std::uint32_t> node_claim(MainWindow& window, unsigned long process_id);

}  // namespace zvkob
