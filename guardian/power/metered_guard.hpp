#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/power/metered_pause.hpp"
#include "platform/history.hpp"
#include "platform/link_cost.hpp"

namespace zvkob {

// Pause the Node's Network on Metered Links, on the guardian's side: reads
// the link's cost on the power source's 30 s step (and at once when asked),
// asks the rule, and keeps which call is on its way to the node, one at a
// time. With the tick off it reads nothing, unless a network it paused is
// still to be resumed.
class MeteredGuard {
public:
    MeteredGuard(LinkCost& cost, History& history) : cost_(cost), history_(history) {}

    // A reading is due: none yet, or the last one 30 s ago, and no call on its way.
    bool due(std::int64_t now_ms) const;
    // Reads the link's cost now and decides; the node as its RPC last told.
    NetworkAction read(bool ticked, bool node_answers, std::optional<bool> network_active,
                       std::int64_t now_ms);
    // The node's answer to the call read() asked for; `polls_asked`: the
    // node's RPC polls asked by then, none of which tells what came of it.
    void answered(NetworkAction action, bool ok, std::string_view failure,
                  std::uint64_t polls_asked);
    // Whether the node's last poll was asked after the last call's answer:
    // only then does its networkactive tell what came of the call.
    bool heard_since_call(std::uint64_t polls_asked, bool polling) const {
        return polls_asked > polls_at_answer_ && !polling;
    }
    // This copy's node now (0 for none): a new run's network runs.
    void node_is(unsigned long node_id);
    // Ask at the next tick (the tick changed, the PC woke, Windows told of a new cost).
    void read_soon() { last_read_ms_.reset(); }

    bool paused() const { return rule_.paused(); }
    std::string closing() const { return rule_.closing(); }

private:
    LinkCost& cost_;
    History& history_;
    MeteredPause rule_;
    std::optional<std::int64_t> last_read_ms_;
    unsigned long node_id_ = 0;
    std::uint64_t polls_at_answer_ = 0;
    bool calling_ = false;
    bool failure_told_ = false;
};

}  // namespace zvkob
