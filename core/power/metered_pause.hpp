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
    bool ticked = false;                // Pause the Node's Network on Metered Links
    bool node_answers = false;          // this copy's node runs and its RPC answered
    std::optional<std::uint32_t> cost;  // none when Windows could not tell
    // getnetworkinfo's networkactive from a poll asked after the answer to
    // ZV-KOB's last call; none when no such poll has answered (one on its
    // way, a state kept through "busy" replies, a node without the field).
    std::optional<bool> network_active;
    // Show the Node's Progress follows the node's RPC: without it nothing
    // tells the node's state, and ZV-KOB's pause is resumed.
    bool state_followed = true;
    // The cost could not be read at two readings in a row: ZV-KOB's pause
    // is resumed (one failed reading is a moment's, and changes nothing).
    bool cost_lost = false;
};

enum class NetworkAction {
    none,
    pause,   // setnetworkactive false
    resume,  // setnetworkactive true
};

// What came of a call, as the node told it. The call asks the node's state
// first (getnetworkinfo) and changes it only when it is not so already.
enum class NetworkOutcome {
    done,       // the node answered the call
    already,    // the node was so already: someone else paused it, or switched it on
    not_asked,  // its state could not be asked: nothing was sent
    refused,    // the node refused the call, or it was not sent
    unknown,    // sent, and no answer came: the node's next state settles it
};

// Why ZV-KOB resumes a network it paused; each has its history line.
enum class ResumeWhy { no_longer_metered, switched_off, cost_unknown, progress_off, closing };

struct MeteredStep {
    NetworkAction action = NetworkAction::none;
    std::string event;  // a change someone else made, for the history
};

// Pause the Node's Network on Metered Links: on a metered link the node's
// network is paused over its RPC; once the link is no longer metered, its
// cost cannot be told for two readings, or the tick is switched off, it is
// resumed, only if
// ZV-KOB paused it and the node still reports it paused. A network the user
// paused is never resumed; one the user switched on again on a metered link
// is left on until the link changes or the node restarts, and so is one that
// could not be paused.
//
// Where it meets the node's RPC: a pause is ZV-KOB's only when the node
// answered ZV-KOB's own call, or, when no answer came, when the node's state
// read after that call says paused. A state that is unknown (a poll on its
// way, one kept through "busy" replies) is unknown: never "active", never
// "switched on by the user"; ZV-KOB waits for the next one.
//
// Where it meets the node's state: a node whose network is paused has no
// peers and takes no blocks by design. Its progress must then read "Network
// paused", not stuck for want of peers or blocks, nor catching up for ever.
class MeteredPause {
public:
    MeteredStep update(const MeteredFacts& facts);
    // The node's answer to the call update() asked for: the history line.
    std::string answered(NetworkAction action, NetworkOutcome outcome, std::string_view failure);
    // ZV-KOB resumes its pause for `why` outside update() (closing, the
    // node's progress switched off): the resume() line once it is done.
    void resuming(ResumeWhy why) { why_ = why; }
    // This copy's node started a new run: its network runs again.
    void node_started();
    // A pause of ZV-KOB's that an earlier run could not resume, on this same
    // run of the node: it is ZV-KOB's again, resumed as its own.
    void take_over_pause() { paused_ = true; }
    // ZV-KOB holds the node's network paused (the tooltip says so).
    bool paused() const { return paused_; }
    // A call went without an answer: the next state read settles it.
    bool settling() const { return settling_ != NetworkAction::none; }

private:
    MeteredStep settle(bool active);
    MeteredStep while_paused(const MeteredFacts& facts, bool metered);
    MeteredStep resume(ResumeWhy why);

    bool paused_ = false;
    bool hold_off_ = false;  // not paused again while this metered stretch lasts
    bool resume_failure_told_ = false;
    ResumeWhy why_ = ResumeWhy::no_longer_metered;
    NetworkAction settling_ = NetworkAction::none;
    std::string settling_failure_;
};

// The history line once ZV-KOB resumed its pause for `why`.
std::string resumed_event(ResumeWhy why);

// One run of the node: its process number and when it was created (a
// number alone may be another process's by the next start of ZV-KOB).
struct NodeRun {
    unsigned long id = 0;
    std::int64_t created_ms = 0;
    bool operator==(const NodeRun&) const = default;
};

// A pause ZV-KOB could not resume as it closed is remembered beside its
// history (".../ZV-KOB/<instance>.network-pause"), as "<process> <created
// ms>": the next start of ZV-KOB takes it over only on that same run of the
// node, and removes the record once settled.
std::string network_pause_record_path(std::string_view history_path);
std::string network_pause_record(const NodeRun& run);
std::optional<NodeRun> network_pause_of_record(std::string_view record);

}  // namespace zvkob
