#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace zvkob {

// What a line of the node's log tells about its progress. Only lines that
// read the same whatever the wallet program's language are taken.
enum class ProgressLineKind {
    other,
    session_start,   // the version line the node writes at every start
    loading,         // Loading block index
    verifying,       // Verifying last N blocks, Verification progress: N%
    rescanning,      // Rescanning, Still rescanning. At block N. Progress=F
    pruning,         // Prune:, Pruning
    done_loading,    // init message: Done loading
    loaded_chain,    // Loaded best chain: ... height=N date=... progress=F
    tip,             // a new block: UpdateTip: new best=... height=N ... date=... progress=F
    background_tip,  // an UpdateTip of the background validation: the tip stays
    headers,         // (Pre-)Synchronizing blockheaders, height: N (~P%)
    left_ibd,        // Leaving InitialBlockDownload (latching to false)
    reindexing,      // Reindexing block file blkNNNNN.dat..., Loaded N blocks from external file
    stopping,        // Shutdown: In progress... / Shutdown in progress...
    shut_down,       // Shutdown: done / Shutdown done
    error,           // an error-level line: it counts only where the run ends on it
    fatal,           // a sign of an error that stops the node, wherever it stands
    warning,         // the node warns of unknown rules or an obsolete version
    long_flush,      // the node writes a large database to disk and may be quiet for long
    block_failed,    // ERROR: ConnectTip: ConnectBlock <hash> failed: its best block failed
    exception,       // EXCEPTION: <type>, its message and where on the untimed lines after it
};

// A line that shows the node going on: a start-up step, a block, headers.
bool is_normal_progress(ProgressLineKind kind);

struct ProgressLine {
    ProgressLineKind kind = ProgressLineKind::other;
    std::optional<std::int64_t> utc_ms;        // when the node wrote it
    std::optional<std::int64_t> height;        // loaded_chain, tip, headers
    std::optional<double> sync_progress;       // loaded_chain, tip: 0..1
    std::optional<std::int64_t> block_utc_ms;  // loaded_chain, tip
    std::optional<int> percent;                // verifying, rescanning: 0..100
    std::optional<std::int64_t> block_file;    // reindexing: the number of its block file
    std::string_view warning;                  // tip (its warning='...'), warning
    std::string_view message;                  // without the time and prefixes
    std::string_view thread;                   // an untimed "<program> in <thread>" line
};

// Reads one whole line given without its line end. Fields that are missing or
// do not read as numbers are left out; nothing is copied.
ProgressLine read_progress_line(std::string_view line);

}  // namespace zvkob
