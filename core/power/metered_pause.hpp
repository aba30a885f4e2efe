#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zvkob {

// The bits of a link's cost, as Windows' network list tells them.
namespace link_cost {
inline constexpr std::uint32_t unrestricted = 0x1;
inline constexpr std::uint32_t fixed = 0x2;     // a plan with a fixed allowance
inline constexpr std::uint32_t variable = 0x4;  // paid by the byte
inline constexpr std::uint32_t over_data_limit = 0x10000;
inline constexpr std::uint32_t congested = 0x20000;
inline constexpr std::uint32_t roaming = 0x40000;
inline constexpr std::uint32_t approaching_data_limit = 0x80000;
}  // namespace link_cost

// Whether a link costs by use: a fixed or variable plan, roaming, or over or
// near its data limit, whatever else is set. Unrestricted is not, nor is
// congested alone: a busy link costs nothing more, and Windows holds its own
// updates back only on metered ones. An unknown cost (0) is not metered.
bool is_metered(std::uint32_t cost);

inline constexpr const char* metered_tooltip_line = "Network paused: metered link";

// What the rule hears at each reading of the link's cost (every 30 s, at a
// cost event and on waking) together with the node's latest getnetworkinfo.
struct MeteredFacts {
    bool ticked = false;                 // Pause the Node's Network on Metered Links
    bool node_answers = false;           // this copy's node runs and its RPC answered
    std::optional<std::uint32_t> cost;   // none when Windows could not tell
    std::optional<bool> network_active;  // getnetworkinfo's networkactive, if it has one
};

enum class NetworkAction {
    none,
    pause,   // setnetworkactive false
    resume,  // setnetworkactive true
};

struct MeteredStep {
    NetworkAction action = NetworkAction::none;
    std::string event;  // a change someone else made, for the history
};

// Pause the Node's Network on Metered Links: on a metered link the node's
// network is paused over its RPC; once the link is no longer metered (or the
// tick is switched off) it is resumed, only if ZV-KOB paused it and the node
// still reports it paused. A network the user paused is never resumed; one
// the user switched on again on a metered link is left on until the link
// changes or the node restarts, and so is one that could not be paused.
//
// Where it meets the node's state: a node whose network is paused has no
// peers and takes no blocks by design. Its progress must then read "Network
// paused: metered link", not stuck for want of peers or blocks.
class MeteredPause {
public:
    MeteredStep update(const MeteredFacts& facts);
    // The node's answer to the call update() asked for: the history line.
    std::string answered(NetworkAction action, bool ok, std::string_view failure);
    // This copy's node started a new run: its network runs again.
    void node_started();
    // ZV-KOB holds the node's network paused (the tooltip says so).
    bool paused() const { return paused_; }
    // The history line when ZV-KOB closes while it holds the network paused, or "".
    std::string closing() const;

private:
    bool paused_ = false;
    bool hold_off_ = false;  // not paused again while this metered stretch lasts
    bool resume_failure_told_ = false;
    bool resuming_for_tick_ = false;
};

}  // namespace zvkob
