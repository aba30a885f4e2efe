#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zvkob {

// A report is never larger than this, on the clipboard or in its file.
inline constexpr std::size_t help_report_most_bytes = 256 * 1024;
// The history's lines of these last days go in.
inline constexpr std::int64_t help_report_history_days = 7;

// "C:\Users\Jo\AppData\Local\ZV-KOB\ZV-KOB.log" keeps its report in
// "...\ZV-KOB.report.txt", one per copy, replaced by each new report.
std::string help_report_path(std::string_view history_path);

// What the window knows when the report is asked for.
struct HelpReportFacts {
    std::string made_at;  // the local time, as the history writes it
    std::string program;  // "the DAEMON program (litecoind.exe)"
    bool node_runs = false;
    std::string node_state;  // the status label's tooltip: the state, and where it comes from
    std::vector<std::pair<std::string, bool>> ticks;  // each setting that is a tick, and its state
    bool data_folder_set = false;
    std::vector<std::string> wallets;  // the wallets the node's RPC told, to mask them
    std::int64_t now_ms = 0;
};

// What the worker read for it.
struct HelpReportFiles {
    std::string network;          // "main", "test", "regtest", ...
    std::string log_path;         // where the node's log is; empty when none is known
    std::string log_text;         // the end of the log, or empty
    bool log_from_start = false;  // the text begins at the log's first byte
    std::string log_missing;      // why there is no log text, in words
    std::string history_text;     // the history (its older file first), or empty
};

// The report in plain text with Windows' line ends, at most
// help_report_most_bytes: ZV-KOB's version and the node's, the network, the
// node's state, ZV-KOB's ticks (never a path), the history's lines of the
// last days about the node's starts, stops and verdicts, and the node's log
// around its last start and its last stop and at its end. Everything that
// came from a file or the tooltip is masked (report_masking.hpp); lines that
// may hold a secret are left out, and the report says how many.
std::string help_report(const HelpReportFacts& facts, const HelpReportFiles& files);

}  // namespace zvkob
