#pragma once
#include <string>

#include "guardian/engine/guardian_engine.hpp"

namespace zvkob {

// Pause the Node's Network on Metered Links, carried out. The link's
// cost is read on the battery stop's 30 s step, at once when the tick
// changes and on waking; getnetworkinfo, then setnetworkactive where the
// node is not so already, go over the node's RPC on its own lane, and the
// node is asked again at once so that its networkactive tells the rule what
// came of it.
//
// Where it meets the others (guardian/engine/metered_meeting.hpp decides the
// look at the link; this carries its answer out):
// - the node's state: a network the node reports paused decides over the
//   stuck and catching-up verdicts (core/node_state_merge.hpp), and so lets
//   the PC sleep;
// - closing: ZV-KOB resumes its pause, or remembers it for the same run of
//   the node (metered_closing).

// "Pause the Node's Network on Metered Links" was switched: the link is read
// at once; cleared, a network ZV-KOB paused is resumed.
void metered_pause_tick_changed(GuardianEngine& engine);

// On the watcher's tick: reads the link's cost when a reading is due.
void metered_tick(GuardianEngine& engine);

// Asks this copy's node that runs to pause or resume its network at
// `endpoint`, on the RPC's lane; the answer goes to the metered pause and
// the node is asked again at once, so that its networkactive tells what came of it.
void change_node_network(GuardianEngine& engine, const RpcEndpoint& endpoint, NetworkAction action);

// Show the Node's Progress was switched: a pause that can no longer be
// followed is resumed at the next look.
void metered_progress_switched(GuardianEngine& engine);

// ZV-KOB closes: a network it may hold paused is resumed, the node given up
// to 3 s to answer; one it could not resume (and, as Windows ends the
// session, any) is remembered for this run of the node, and the history says it.
void metered_closing(GuardianEngine& engine);

// The line of the status label's tooltip while ZV-KOB holds the node's network paused, or "".
std::string metered_tooltip(const GuardianEngine& engine);

}  // namespace zvkob
