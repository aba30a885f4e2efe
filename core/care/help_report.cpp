#include "core/care/help_report.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <span>

#include "core/care/report_masking.hpp"
#include "core/node_log/node_log_line.hpp"
#include "core/node_log/node_log_session.hpp"
#include "core/shown_text.hpp"
#include "core/time_text.hpp"
#include "core/version.hpp"

namespace zvkob {
namespace {

using namespace std::string_view_literals;

constexpr std::size_t line_characters = 400;
constexpr std::size_t history_lines = 100;
// The node's log: the end of the run before the last start, the start, the end.
constexpr std::size_t lines_before_start = 30;
constexpr std::size_t lines_of_start = 40;
constexpr std::size_t lines_at_end = 80;
constexpr std::int64_t ms_per_day = 86'400'000;

// Words of the history's lines about the node's starts, stops and verdicts.
constexpr std::array history_signs = {"stop"sv,      "start"sv,        "keep node running"sv,
                                      "exit code"sv, "error"sv,        "attention"sv,
                                      "stuck"sv,     "no new block"sv, "warns"sv};

class ReportText {
public:
    void line(std::string_view text) {
        text_ += text;
        text_ += "\r\n";
    }
    void blank() { line(""); }
    std::string take() { return std::move(text_); }

private:
    std::string text_;
};

// Lines masked, two spaces in; lines left out are counted where they stood.
class MaskedLines {
public:
    MaskedLines(ReportText& text, ReportMasking& masking) : text_(text), masking_(masking) {}
    ~MaskedLines() { tell_left_out(); }
    MaskedLines(const MaskedLines&) = delete;
    MaskedLines& operator=(const MaskedLines&) = delete;

    void add(std::string_view line) {
        if (line.find_first_not_of(" \t\r") == std::string_view::npos) {
            return;
        }
        const std::optional<std::string> masked = masking_.masked(line);
        if (!masked) {
            ++left_out_;
            return;
        }
        tell_left_out();
        text_.line("  " + shown_text(*masked, line_characters));
    }
    // A gap in what is shown.
    void skipped(std::size_t lines) {
        tell_left_out();
        text_.line("  (" + std::to_string(lines) + (lines == 1 ? " line" : " lines") +
                   " not shown)");
    }

private:
    void tell_left_out() {
        if (left_out_ > 0) {
            text_.line("  (" + std::to_string(left_out_) +
                       (left_out_ == 1 ? " line is" : " lines are") +
                       " left out here: they may hold a password, a wallet's transaction or its "
                       "name)");
            left_out_ = 0;
        }
    }

    ReportText& text_;
    ReportMasking& masking_;
    std::size_t left_out_ = 0;
};

std::vector<std::string_view> text_lines(std::string_view text) {
    return split_log_lines(text, true);
}

// The history's lines of the last days about the node, the latest at most.
std::vector<std::string_view> history_of_the_node(std::string_view history, std::int64_t now_ms) {
    const std::int64_t since_ms = now_ms - help_report_history_days * ms_per_day;
    std::vector<std::string_view> kept;
    for (const std::string_view line : text_lines(history)) {
        const auto at = history_stamp_ms(line);
        const std::string folded = lower_ascii(line);
        if (at && *at >= since_ms &&
            std::ranges::any_of(history_signs, [&folded](std::string_view sign) {
                return folded.find(sign) != std::string::npos;
            })) {
            kept.push_back(line);
        }
    }
    if (kept.size() > history_lines) {
        kept.erase(kept.begin(), kept.end() - static_cast<std::ptrdiff_t>(history_lines));
    }
    return kept;
}

using LineRange = std::pair<std::size_t, std::size_t>;  // first, past the last

// The parts of the log shown: the end of the run before the last start
// (how it stopped), the last start, and the log's end; merged where they meet.
std::vector<LineRange> log_parts(const std::vector<std::string_view>& lines,
                                 const std::vector<std::size_t>& starts) {
    std::vector<LineRange> parts;
    const std::size_t count = lines.size();
    if (!starts.empty()) {
        const std::size_t start = starts.back();
        std::size_t before = start;
        while (before > 0 && lines[before - 1].find_first_not_of(" \t") == std::string_view::npos) {
            --before;
        }
        parts.emplace_back(before - std::min(before, lines_before_start), start);
        parts.emplace_back(start, std::min(count, start + lines_of_start));
    }
    parts.emplace_back(count - std::min(count, lines_at_end), count);
    std::vector<LineRange> merged;
    for (const LineRange& part : parts) {
        if (part.first >= part.second) {
            continue;
        }
        if (!merged.empty() && part.first <= merged.back().second) {
            merged.back().second = std::max(merged.back().second, part.second);
        } else {
            merged.push_back(part);
        }
    }
    return merged;
}

std::string node_version(const std::vector<std::string_view>& lines,
                         const std::vector<std::size_t>& starts) {
    return starts.empty() ? std::string()
                          : std::string(read_log_line(lines[starts.back()]).message);
}

void add_node(ReportText& text, ReportMasking& masking, const HelpReportFacts& facts,
              const HelpReportFiles& files, std::string_view version) {
    text.line("The node");
    text.line("  " + facts.program + (facts.node_runs ? ": running" : ": not running"));
    text.line("  Version: " + (version.empty() ? std::string("(its log read holds no start)")
                                               : masking.masked(version).value_or("(left out)")));
    text.line("  Network: " + files.network);
    if (!facts.node_state.empty()) {
        text.line("  Its state, as ZV-KOB shows it:");
        MaskedLines state(text, masking);
        for (const std::string_view line : text_lines(facts.node_state)) {
            state.add("  " + std::string(line));
        }
    }
    text.blank();
}

void add_settings(ReportText& text, const HelpReportFacts& facts) {
    text.line("ZV-KOB's settings");
    for (const auto& [name, ticked] : facts.ticks) {
        text.line("  " + name + ": " + (ticked ? "on" : "off"));
    }
    text.line(std::string("  BLOCKCHAIN FOLDER: ") +
              (facts.data_folder_set ? "set" : "empty (the node's own default)"));
    text.blank();
}

void add_history(ReportText& text, ReportMasking& masking,
                 const std::vector<std::string_view>& lines) {
    text.line("The node's starts, stops and verdicts of the last " +
              std::to_string(help_report_history_days) + " days, from ZV-KOB's history");
    if (lines.empty()) {
        text.line("  (none)");
    }
    MaskedLines history(text, masking);
    for (const std::string_view line : lines) {
        history.add(line);
    }
}

void add_log(ReportText& text, ReportMasking& masking, const HelpReportFiles& files,
             const std::vector<std::string_view>& lines, const std::vector<std::size_t>& starts) {
    if (files.log_path.empty() || lines.empty()) {
        text.line("The node's log");
        const std::string why = files.log_missing.empty() ? "it is empty" : files.log_missing;
        text.line("  (" + masking.masked(why).value_or("it cannot be shown") + ")");
        return;
    }
    text.line("The node's log around its last start and stop: " +
              masking.masked(files.log_path).value_or("(its path is left out)"));
    MaskedLines shown(text, masking);
    std::size_t next = 0;
    for (const auto& [first, past] : log_parts(lines, starts)) {
        if (first > next) {
            shown.skipped(first - next);
        }
        for (std::size_t at = first; at < past; ++at) {
            shown.add(lines[at]);
        }
        next = past;
    }
}

// Cut at a line's end, should the parts together pass the limit.
std::string within_limit(std::string report) {
    constexpr std::string_view cut_note = "(the report was cut at 256 KiB)\r\n";
    if (report.size() <= help_report_most_bytes) {
        return report;
    }
    const auto end = report.rfind("\r\n", help_report_most_bytes - cut_note.size() - 2);
    report.resize(end == std::string::npos ? 0 : end + 2);
    report += cut_note;
    return report;
}

}  // namespace

std::string help_report_path(std::string_view history_path) {
    if (history_path.ends_with(".log")) {
        history_path.remove_suffix(4);
    }
    return std::string(history_path) + ".report.txt";
}

std::string help_report(const HelpReportFacts& facts, const HelpReportFiles& files) {
    const std::vector<std::string_view> log = split_log_lines(files.log_text, files.log_from_start);
    const std::vector<std::size_t> starts = log_run_starts(log, files.log_from_start);
    const std::vector<std::string_view> history =
        history_of_the_node(files.history_text, facts.now_ms);
    ReportMasking masking(facts.wallets);
    for (const auto* lines : {&log, &history}) {
        for (const std::string_view line : *lines) {
            masking.learn(line);
        }
    }
    ReportText text;
    text.line("ZV-KOB report for help");
    text.line("Made " + facts.made_at + " by ZV-KOB " + std::string(program_version) + ".");
    text.line(
        "What could tell who you are is masked: IP addresses, onion and I2P names, user and folder "
        "names, wallet names, coin addresses, keys and transaction ids (as <IPv4 1>, <wallet 1>, "
        "...). Lines that may hold a password are left out. Read it before you share it.");
    text.blank();
    add_node(text, masking, facts, files, node_version(log, starts));
    add_settings(text, facts);
    add_history(text, masking, history);
    text.blank();
    add_log(text, masking, files, log, starts);
    return within_limit(text.take());
}

}  // namespace zvkob
