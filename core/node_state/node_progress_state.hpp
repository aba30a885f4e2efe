#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zvkob {

enum class NodeCondition {
    unknown,
    starting,
    catching_up,
    synced,
    stuck,
    stopping,
    needs_attention,
    // Its network paused (networkactive false, by ZV-KOB on a metered link
    // or by the user): it takes no blocks by design, so it is neither stuck
    // nor catching up.
    network_paused,
};

enum class StartPhase { opening, loading, verifying, rescanning, pruning, reindexing };

enum class StuckReason {
    no_block,    // no new block for too long
    silent_log,  // no line at all for an hour
    no_peers,    // the node's RPC tells of no connection for ten minutes
};

enum class UnknownReason {
    nothing_read,     // no reading yet
    writes_nothing,   // readings, but not one line
    unreadable,       // the platform could not read the log (the detail says why)
    unknown_format,   // lines, but none in a format ZV-KOB knows
    no_progress_yet,  // lines, but none about the chain or the start yet
};

// Synced: it left the initial block download, its progress reached
// synced_progress, or its tip's block time was less than at_tip_block_age_ms
// before the line that took it (as the node's own window judges it: a fork's
// or a snapshot chainstate's progress may be wrong); and its tip was at most
// synced_block_age_ms old when it took it.
inline constexpr double synced_progress = 0.99999;
inline constexpr std::int64_t at_tip_block_age_ms = 90 * 60'000;
inline constexpr std::int64_t synced_block_age_ms = 2 * 3'600'000;
// Stuck: no new block for synced_quiet_ms while synced; no block, header,
// check or rescan for catching_up_quiet_ms while catching up; no line at all
// for silent_log_ms.
inline constexpr std::int64_t synced_quiet_ms = 2 * 3'600'000;
inline constexpr std::int64_t catching_up_quiet_ms = 30 * 60'000;
inline constexpr std::int64_t silent_log_ms = 3'600'000;
// After "Flushing large (...) UTXO set to disk" the node may write nothing for
// long: it is not stuck until its next line, and the pause does not count
// towards the quiet after it. A flush that seems never to end is stuck after
// flush_quiet_ms: a large cache on a slow drive takes tens of minutes, not hours.
inline constexpr std::int64_t flush_quiet_ms = 3 * 3'600'000;
// Needs attention: the node fails its best block this many times in a row
// with no new tip between (once is a peer's invalid block, which it drops).
inline constexpr int repeated_block_failures = 3;

// The node's state at a moment, as its log or its RPC tells it, or both
// together. Durations are never negative; the two moments are kept as well,
// so that a state can be told again later as it is then.
struct NodeProgressState {
    NodeCondition condition = NodeCondition::unknown;
    StartPhase phase = StartPhase::opening;            // when starting
    std::optional<int> phase_percent;                  // when verifying or rescanning: 0..100
    std::optional<std::int64_t> block_file;            // when reindexing: its block file's number
    std::optional<std::int64_t> height;                // the tip's
    std::optional<std::int64_t> header_height;         // once headers were synchronised
    std::optional<double> sync_progress;               // the node's own estimate: 0..1
    std::optional<std::int64_t> behind_ms;             // from the tip's block time to now
    std::optional<std::int64_t> last_block_ago_ms;     // since the node took a new block
    std::optional<std::int64_t> catching_up_ms;        // how long catching up has taken so far
    std::optional<std::int64_t> peers;                 // connections, where the node's RPC told
    std::optional<bool> network_active;                // its networkactive, where the RPC told
    std::optional<std::int64_t> tip_utc_ms;            // the tip's block time
    std::optional<std::int64_t> new_block_ms;          // when the node was seen to take a new block
    StuckReason stuck_reason = StuckReason::no_block;  // when stuck
    std::int64_t quiet_since_utc_ms = 0;               // when stuck
    std::int64_t quiet_ms = 0;                         // when stuck
    UnknownReason unknown_reason = UnknownReason::nothing_read;  // when unknown
    std::string detail;   // needs attention: the error line; unreadable: why
    std::string advice;   // needs attention: what usually helps, where that is known
    std::string warning;  // the node's own warning of late, or empty
};

}  // namespace zvkob
