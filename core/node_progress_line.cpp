#include "core/node_progress_line.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/node_log_line.hpp"
#include "core/node_stop_verdict.hpp"

namespace zvkob {
namespace {

using std::string_view_literals::operator""sv;
using Kind = ProgressLineKind;

constexpr std::string_view background_prefix = "[background validation] ";
constexpr std::string_view init_message = "init message: ";
constexpr std::string_view verification_progress = "Verification progress: ";
constexpr std::string_view version_mark = " version v";

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

ProgressLine with_chain_fields(ProgressLine line, Kind kind, std::string_view fields) {
    line.height = count_after(fields, " height="sv);
    if (!line.height) {
        return line;  // cut before its height: nothing to take
    }
    line.kind = kind;
    line.sync_progress = fraction_after(fields, " progress="sv);
    line.block_utc_ms = block_time(fields);
    return line;
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

ProgressLine with_other_kind(ProgressLine line, const LogLine& read) {
    const std::string_view message = line.message;
    if (message.starts_with("Leaving InitialBlockDownload"sv)) {
        line.kind = Kind::left_ibd;
    } else if (message.starts_with("Synchronizing blockheaders, height: "sv) ||
               message.starts_with("Pre-synchronizing blockheaders, height: "sv)) {
        line.height = count_after(message, "height: "sv);
        line.kind = Kind::headers;
    } else if (message.starts_with("Shutdown: In progress"sv) ||
               message.starts_with("Shutdown in progress"sv)) {
        line.kind = Kind::stopping;
    } else if (is_version_line(message)) {
        line.kind = Kind::session_start;
    } else {
        line = with_start_phase(line);
        if (line.kind == Kind::other && is_fatal_log_line(read)) {
            line.kind = Kind::fatal;
        }
    }
    return line;
}

}  // namespace

ProgressLine read_progress_line(std::string_view whole_line) {
    const LogLine read = read_log_line(whole_line);
    ProgressLine line;
    line.utc_ms = read.utc_ms;
    line.message = read.message;
    if (read.message.starts_with("UpdateTip:"sv)) {
        const Kind kind =
            is_background(whole_line, read.message) ? Kind::background_tip : Kind::tip;
        return with_chain_fields(line, kind, read.message);
    }
    if (read.message.starts_with("Loaded best chain:"sv)) {
        return with_chain_fields(line, Kind::loaded_chain, read.message);
    }
    return with_other_kind(line, read);
}

}  // namespace zvkob
