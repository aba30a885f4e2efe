#pragma once
#include <string>

#include "main_window/main_window.hpp"

namespace zvkob {

// Pause the Node's Network on Metered Links, wired to the window. The link's
// cost is read on the battery stop's 30 s step, at once when the tick
// changes and on waking; setnetworkactive goes over the node's RPC on its
// own lane, and the node is asked again at once so that its networkactive
// tells the rule what came of it.
//
// Where it meets the node's state: a network the node reports paused
// decides over the stuck verdicts (core/node_state_merge.hpp).

// The window menu's "Pause the Node's Network on Metered Links": the tick,
// stored at once; cleared, a network ZV-KOB paused is resumed.
void metered_pause_clicked(MainWindow& window);

// On the watcher's tick: reads the link's cost when a reading is due.
void metered_tick(MainWindow& window);

// ZV-KOB closes: a network it holds paused stays so, and the history says it.
void metered_closing(MainWindow& window);

// The line of the status label's tooltip while ZV-KOB holds the node's network paused, or "".
std::string metered_tooltip(const MainWindow& window);

}  // namespace zvkob
