#include "guardian/flows/guardian_ticks.hpp"

#include "guardian/flows/metered_events.hpp"
#include "guardian/flows/neighbour_events.hpp"
#include "guardian/flows/node_glance_events.hpp"
#include "guardian/flows/process_watcher.hpp"
#include "guardian/flows/stop_node.hpp"

namespace zvkob {

void watcher_tick_begins(GuardianEngine& g) {
    if (const auto away = g.guardian.glance.wake_watch().tick(g.services.clock.now_ms())) {
        pc_woke(g, *away);
    }
}

void watcher_tick_reads(GuardianEngine& g) {
    note_query(g);
    ask_the_node_when_due(g);
    follow_node_stops(g);
}

void watcher_tick_acts(GuardianEngine& g) {
    neighbour_tick(g);
    metered_tick(g);
}

}  // namespace zvkob
