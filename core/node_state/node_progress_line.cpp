#include "core/node_state/node_progress_line.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <span>

#include "core/node_log/node_log_line.hpp"
#include "core/node_log/node_log_signs.hpp"

namespace zvkob {
namespace {

using std::string_view_literals::operator""sv;
using Kind = ProgressLineKind;

constexpr std::string_view background_prefix = "[background validation] ";
constexpr std::string_view init_message = "init message: ";
constexpr std::string_view verification_progress = "Verification progress: ";
constexpr std::string_view version_mark = " version v";
constexpr std::string_view warning_field = " warning='";
constexpr std::string_view reindex_file = "Reindexing block file blk";

// Up to version 29 and in the forks, then from 30 on; Dash and its forks
// begin theirs in PrepareShutdown (dashpay/dash src/init.cpp).
constexpr std::array in_progress_messages = {
    "Shutdown: In progress..."sv, "Shutdown in progress..."sv, "PrepareShutdown: In progress..."sv};
constexpr std::array done_messages = {"Shutdown: done"sv, "Shutdown done"sv};
constexpr std::string_view reindex_loaded = " blocks from external file";

// A new block: "UpdateTip: new best=" in the node and most forks, the older
// "SetBestChain: new best=" of forks that kept it, and, behind the prefix of a
// tracing log, "INFO ProcessNewBlock: main: UpdateTip: new best hash=".
constexpr std::string_view update_tip = "UpdateTip:";
constexpr std::string_view set_best_chain = "SetBestChain: new best=";
constexpr std::string_view traced_update_tip = "UpdateTip: new best";

// EXCEPTION: <type>, then untimed lines with its message and "<program> in
// <thread>" (or "in ProcessMessages()" where it was caught and the node went on).
constexpr std::array exception_beginnings = {"EXCEPTION: "sv, "UNKNOWN EXCEPTION"sv};
constexpr std::string_view thread_mark = " in ";

bool is_any_of(std::string_view text, std::span<const std::string_view> phrases) {
    const auto last = text.find_last_not_of(" \t");
    text = last == text.npos ? std::string_view() : text.substr(0, last + 1);
    return std::ranges::find(phrases, text) != phrases.end();
}

std::optional<std::int64_t> count_at(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || value < 0) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> number_at(std::string_view text) {
    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// What follows the first `key` in `text`, or none.
std::optional<std::string_view> after(std::string_view text, std::string_view key) {
    const auto at = text.find(key);
    if (at == text.npos) {
        return std::nullopt;
    }
    return text.substr(at + key.size());
}

std::optional<std::int64_t> count_after(std::string_view text, std::string_view key) {
    const auto value = after(text, key);
    return value ? count_at(*value) : std::nullopt;
}

std::optional<double> fraction_after(std::string_view text, std::string_view key) {
    const auto value = after(text, key);
    const auto number = value ? number_at(*value) : std::nullopt;
    return number ? std::optional(std::clamp(*number, 0.0, 1.0)) : std::nullopt;
}

// date='2016-01-05 21:50:05' or date=2025-07-16T04:50:47Z
std::optional<std::int64_t> block_time(std::string_view fields) {
    auto value = after(fields, " date="sv);
    if (!value) {
        return std::nullopt;
    }
    if (value->starts_with('\'')) {
        value->remove_prefix(1);
    }
    const auto time = leading_log_time(*value);
    return time ? std::optional(time->utc_ms) : std::nullopt;
}

// The node's warnings end an UpdateTip line: ... cache=5.1MiB(37000txo) warning='...'
std::string_view warning_of(std::string_view fields) {
    if (!fields.ends_with('\'')) {
        return {};
    }
    const auto at = fields.rfind(warning_field);
    if (at == fields.npos) {
        return {};
    }
    const std::string_view warning = fields.substr(at + warning_field.size());
    return warning.substr(0, warning.size() - 1);
}

ProgressLine with_chain_fields(ProgressLine line, Kind kind, std::string_view fields) {
    line.height = count_after(fields, " height="sv);
    if (!line.height) {
        return line;  // cut before its height: nothing to take
    }
    line.kind = kind;
    line.sync_progress = fraction_after(fields, " progress="sv);
    line.block_utc_ms = block_time(fields);
    line.warning = warning_of(fields);
    return line;
}

// The part of the message that tells of a new block, or none.
std::optional<std::string_view> new_block_fields(std::string_view message) {
    if (message.starts_with(update_tip) || message.starts_with(set_best_chain)) {
        return message;
    }
    const auto at = message.find(traced_update_tip);
    return at == message.npos ? std::nullopt : std::optional(message.substr(at));
}

// "ERROR: ConnectTip(): ConnectBlock <hash> failed" up to about 0.15 and in
// forks, "ERROR: ConnectTip: ConnectBlock <hash> failed, <reason>" later, and
// "[error] ConnectTip: ..." from 27 on.
bool is_block_failure(std::string_view message) {
    if (message.starts_with("ERROR: "sv)) {
        message.remove_prefix(7);
    }
    return message.starts_with("ConnectTip"sv) && message.find("ConnectBlock"sv) != message.npos &&
           message.find(" failed"sv) != message.npos;
}

// The thread an exception ended: "C:\Node\bitcoind.exe in msghand       "
// names one; "bitcoin in ProcessMessages()" names a function, which the node
// survived.
std::string_view thread_named(std::string_view message) {
    const auto last = message.find_last_not_of(' ');
    message = last == message.npos ? std::string_view() : message.substr(0, last + 1);
    const auto at = message.rfind(thread_mark);
    if (at == message.npos) {
        return {};
    }
    const std::string_view name = message.substr(at + thread_mark.size());
    const bool bare = !name.empty() && std::ranges::all_of(name, [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '_' || c == '.';
    });
    return bare ? name : std::string_view();
}

bool is_background(std::string_view whole_line, std::string_view message) {
    const auto before = static_cast<std::size_t>(message.data() - whole_line.data());
    return whole_line.substr(0, before).ends_with(background_prefix);
}

// The version line: "Bitcoin Core version v29.0.0 (release build)".
bool is_version_line(std::string_view message) {
    const auto at = message.find(version_mark);
    const auto digit_at = at + version_mark.size();
    if (at == message.npos || digit_at >= message.size()) {
        return false;
    }
    const std::string_view name = message.substr(0, at);
    const char first_digit = message[digit_at];
    return first_digit >= '0' && first_digit <= '9' && name.find_first_of(":=") == name.npos;
}

std::optional<int> percent_of(std::optional<double> fraction) {
    return fraction ? std::optional(static_cast<int>(*fraction * 100.0)) : std::nullopt;
}

ProgressLine with_start_phase(ProgressLine line) {
    std::string_view phase = line.message;
    if (phase.starts_with(init_message)) {
        phase.remove_prefix(init_message.size());
    }
    if (phase.starts_with("Loading block index"sv)) {
        line.kind = Kind::loading;
    } else if (phase.starts_with("Verifying last"sv) || phase.starts_with("Verifying blocks"sv)) {
        line.kind = Kind::verifying;
    } else if (phase.starts_with(verification_progress)) {
        line.kind = Kind::verifying;
        const auto percent = count_at(phase.substr(verification_progress.size()));
        if (percent) {
            line.percent = static_cast<int>(std::min<std::int64_t>(*percent, 100));
        }
    } else if (phase.starts_with("Still rescanning."sv)) {
        line.kind = Kind::rescanning;
        line.percent = percent_of(fraction_after(phase, "Progress="sv));
    } else if (phase.starts_with("Rescan"sv)) {
        line.kind = Kind::rescanning;
    } else if (phase.starts_with("Prune:"sv) || phase.starts_with("Pruning"sv)) {
        line.kind = Kind::pruning;
    } else if (phase.starts_with("Done loading"sv)) {
        line.kind = Kind::done_loading;
    }
    return line;
}

// "Reindexing block file blk02155.dat...", "Loaded 1234 blocks from external
// file in 5678ms", "Reindexing finished".
ProgressLine with_reindex_kind(ProgressLine line) {
    const std::string_view message = line.message;
    if (message.starts_with(reindex_file)) {
        line.kind = Kind::reindexing;
        line.block_file = count_at(message.substr(reindex_file.size()));
    } else if (message.starts_with("Reindexing finished"sv) ||
               (message.starts_with("Loaded "sv) && message.find(reindex_loaded) != message.npos)) {
        line.kind = Kind::reindexing;
    }
    return line;
}

// Errors, warnings and long flushes, once the line is nothing else.
ProgressLine with_trouble_kind(ProgressLine line, const LogLine& read) {
    switch (error_weight(read)) {
        case ErrorWeight::hard:
            line.kind = Kind::fatal;
            return line;
        case ErrorWeight::soft:
            line.kind = Kind::error;
            return line;
        case ErrorWeight::none:
            break;
    }
    line.warning = standalone_warning(line.message);
    if (!line.warning.empty()) {
        line.kind = Kind::warning;
    } else if (announces_long_flush(line.message)) {
        line.kind = Kind::long_flush;
    }
    return line;
}

ProgressLine with_other_kind(ProgressLine line, const LogLine& read) {
    const std::string_view message = line.message;
    if (is_block_failure(message)) {
        line.kind = Kind::block_failed;
    } else if (std::ranges::any_of(exception_beginnings, [message](std::string_view beginning) {
                   return message.starts_with(beginning);
               })) {
        line.kind = Kind::exception;
    } else if (message.starts_with("Leaving InitialBlockDownload"sv)) {
        line.kind = Kind::left_ibd;
    } else if (message.starts_with("Synchronizing blockheaders, height: "sv) ||
               message.starts_with("Pre-synchronizing blockheaders, height: "sv)) {
        line.height = count_after(message, "height: "sv);
        line.kind = Kind::headers;
    } else if (is_any_of(message, in_progress_messages)) {
        line.kind = Kind::stopping;
    } else if (is_any_of(message, done_messages)) {
        line.kind = Kind::shut_down;
    } else if (is_version_line(message)) {
        line.kind = Kind::session_start;
    } else {
        line = with_start_phase(line);
        line = line.kind == Kind::other ? with_reindex_kind(line) : line;
        line = line.kind == Kind::other ? with_trouble_kind(line, read) : line;
    }
    return line;
}

}  // namespace

ProgressLine read_progress_line(std::string_view whole_line) {
    const LogLine read = read_log_line(whole_line);
    ProgressLine line;
    line.utc_ms = read.utc_ms;
    line.message = read.message;
    if (const auto fields = new_block_fields(read.message)) {
        const Kind kind =
            is_background(whole_line, read.message) ? Kind::background_tip : Kind::tip;
        line = with_chain_fields(line, kind, *fields);
    } else if (read.message.starts_with("Loaded best chain:"sv)) {
        line = with_chain_fields(line, Kind::loaded_chain, read.message);
    } else if (!read.utc_ms) {
        line.thread = thread_named(read.message);
    }
    // A line without a height may still be a warning ("UpdateTip: 44 of last
    // 100 blocks have unexpected version") or an error.
    return line.kind == Kind::other ? with_other_kind(line, read) : line;
}

bool is_normal_progress(ProgressLineKind kind) {
    switch (kind) {
        case Kind::loading:
        case Kind::verifying:
        case Kind::rescanning:
        case Kind::pruning:
        case Kind::done_loading:
        case Kind::loaded_chain:
        case Kind::tip:
        case Kind::background_tip:
        case Kind::headers:
        case Kind::left_ibd:
        case Kind::reindexing:
            return true;
        default:
            return false;
    }
}

}  // namespace zvkob
