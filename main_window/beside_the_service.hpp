#pragma once
#include "main_window/main_window.hpp"

namespace zvkob {

// The window beside this copy's service: while the service guards the node
// there is one guardian of it, the service. The window shows the node as
// the service sees it (asked on the service's channel at each look), and
// its own guarding steps back: it watches, restarts and stops nothing of
// its own. Stop Node, the guarding ticks and Save To Registry go to the
// service, so that a stop asked here is never undone there. A service that
// does not answer, or a node the window holds itself (started before the
// service was installed), leaves the window to guard as it always has.

// The watcher's look: whether the service answered (the look is then done).
bool follow_the_service(MainWindow& window);

// Whether the service guards the node now (it answered at the last look).
bool service_guards(const MainWindow& window);
// The name of the service that guards it, or empty.
std::string guarding_service(const MainWindow& window);

// Stop Node, asked of the service; it tells what the service said.
void stop_node_by_the_service(MainWindow& window);
// Back Up Wallets: the folder asked here, the backup made by the service.
void back_up_wallets_by_the_service(MainWindow& window);

// A stored setting the window changed, or Save To Registry: the service follows.
void tell_the_service(MainWindow& window, const StoredSetting& setting);
void tell_the_service_settings_saved(MainWindow& window);

// Clearing "Start the Node Before Sign-In": the service has handed the node
// back and is gone; this copy takes the process it named as its node.
void take_the_node_back(MainWindow& window, unsigned long node_id);

}  // namespace zvkob
