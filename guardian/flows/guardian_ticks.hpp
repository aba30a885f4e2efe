#pragma once
#include "guardian/engine/guardian_engine.hpp"

namespace zvkob {

// The guardian's part of the two timers, each in the order its features
// hear it. Whoever runs the guardian calls them in the order below, with
// the watcher's own look at each program (process_watcher.hpp) between the
// first two.

// Twice a second, first: a gap of a minute or more since the last tick
// means the PC slept; the node at a glance hears of it before the node is
// asked, so that it is asked at once.
void watcher_tick_begins(GuardianEngine& engine);

// Then, once both programs were looked at: the failing process query noted
// once, the node's RPC asked when due, a stop that is overdue told. These
// only read or tell, so they run beside a message box too.
void watcher_tick_reads(GuardianEngine& engine);

// Last, once no message box is open: the battery stop (which stops and starts
// the node) and the node's priority, then the metered pause, which looks at
// the node the battery stop may just have asked to stop.
void watcher_tick_acts(GuardianEngine& engine);

}  // namespace zvkob
