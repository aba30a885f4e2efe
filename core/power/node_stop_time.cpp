#include "core/power/node_stop_time.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/node_state/node_progress_line.hpp"
#include "core/windows_path.hpp"

namespace zvkob {
namespace {

constexpr std::string_view cache_key = " cache=";
constexpr std::string_view no_cache = "-";

template <typename Number>
std::optional<Number> number_at(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The next word of a line, taken off its front.
std::string_view next_word(std::string_view& line) {
    const auto end = line.find(' ');
    const std::string_view word = line.substr(0, end);
    line = end == std::string_view::npos ? std::string_view() : line.substr(end + 1);
    return word;
}

std::optional<MeasuredStop> stop_of_record_line(std::string_view line) {
    const auto done = number_at<std::int64_t>(next_word(line));
    const auto took = number_at<std::int64_t>(next_word(line));
    const std::string_view cache = next_word(line);
    if (!done || !took || *took < 0 || !line.empty()) {
        return std::nullopt;
    }
    MeasuredStop stop{*done, *took, std::nullopt};
    if (cache != no_cache) {
        stop.cache_mib = number_at<double>(cache);
        if (!stop.cache_mib || !std::isfinite(*stop.cache_mib) || *stop.cache_mib < 0) {
            return std::nullopt;
        }
    }
    return stop;
}

// What a stop with `then` of cache is expected to take with `now` of cache.
std::int64_t scaled(const MeasuredStop& stop, std::optional<double> now) {
    if (!now || !stop.cache_mib) {
        return stop.took_ms;
    }
    const double factor = (*now + stop_fixed_part_mib) / (*stop.cache_mib + stop_fixed_part_mib);
    return std::llround(static_cast<double>(stop.took_ms) * factor);
}

}  // namespace

std::string node_stop_record_path(std::string_view history_path) {
    return beside_history(history_path, ".node-stops");
}

std::optional<double> cache_mib_of(std::string_view message) {
    const auto at = message.find(cache_key);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view value = message.substr(at + cache_key.size());
    const auto unit = value.find("MiB");
    const auto cache =
        unit == std::string_view::npos ? std::nullopt : number_at<double>(value.substr(0, unit));
    if (!cache || !std::isfinite(*cache) || *cache < 0) {
        return std::nullopt;
    }
    return cache;
}

std::vector<std::string> stop_time_lines(std::span<const std::string_view> lines) {
    std::vector<std::string> kept;
    bool last_is_tip = false;
    for (const std::string_view line : lines) {
        const ProgressLine read = read_progress_line(line);
        const bool tip = read.kind == ProgressLineKind::tip && cache_mib_of(read.message);
        if (!tip && read.kind != ProgressLineKind::session_start &&
            read.kind != ProgressLineKind::stopping && read.kind != ProgressLineKind::shut_down) {
            continue;
        }
        if (tip && last_is_tip) {
            kept.back() = line;
        } else {
            kept.emplace_back(line);
        }
        last_is_tip = tip;
    }
    return kept;
}

NodeStopTimes NodeStopTimes::from_record(std::string_view record) {
    NodeStopTimes times;
    times.take_record(record);
    return times;
}

void NodeStopTimes::take_record(std::string_view record) {
    while (!record.empty()) {
        const auto end = record.find('\n');
        std::string_view line = record.substr(0, end);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (const auto stop = stop_of_record_line(line)) {
            keep(*stop);
        }
        record = end == std::string_view::npos ? std::string_view() : record.substr(end + 1);
    }
}

std::string NodeStopTimes::record() const {
    std::string text;
    for (const MeasuredStop& stop : stops_) {
        char cache[32] = "-";
        if (stop.cache_mib) {
            std::snprintf(cache, sizeof cache, "%.1f", *stop.cache_mib);
        }
        text += std::to_string(stop.done_utc_ms) + " " + std::to_string(stop.took_ms) + " " +
                cache + "\n";
    }
    return text;
}

// A stop is kept once, by its done line's time, in the order of those times.
bool NodeStopTimes::keep(const MeasuredStop& stop) {
    const auto same = [&](const MeasuredStop& kept) {
        return kept.done_utc_ms == stop.done_utc_ms;
    };
    if (std::ranges::any_of(stops_, same)) {
        return false;
    }
    const auto later =
        std::ranges::upper_bound(stops_, stop.done_utc_ms, {}, &MeasuredStop::done_utc_ms);
    if (later == stops_.begin() && stops_.size() >= measured_stops_kept) {
        return false;  // older than all ten kept
    }
    stops_.insert(later, stop);
    if (stops_.size() > measured_stops_kept) {
        stops_.erase(stops_.begin());
    }
    return true;
}

// A start forgets the cache; the in-progress line notes the cache of then,
// and its done line ends the stop. Lines without a time measure nothing.
bool NodeStopTimes::take(std::span<const std::string_view> lines) {
    bool measured = false;
    for (const std::string_view whole_line : lines) {
        const ProgressLine line = read_progress_line(whole_line);
        switch (line.kind) {
            case ProgressLineKind::session_start:
                cache_mib_.reset();
                stopping_.reset();
                break;
            case ProgressLineKind::tip:
                if (const auto cache = cache_mib_of(line.message)) {
                    cache_mib_ = cache;
                }
                break;
            case ProgressLineKind::stopping:
                if (line.utc_ms) {
                    stopping_ = Stopping{*line.utc_ms, cache_mib_};
                }
                break;
            case ProgressLineKind::shut_down:
                if (stopping_ && line.utc_ms && *line.utc_ms >= stopping_->began_utc_ms) {
                    measured = keep({*line.utc_ms, *line.utc_ms - stopping_->began_utc_ms,
                                     stopping_->cache_mib}) ||
                               measured;
                }
                stopping_.reset();
                break;
            default:
                break;
        }
    }
    return measured;
}

ExpectedStop NodeStopTimes::expected(bool synced) const {
    if (stops_.empty()) {
        return synced ? ExpectedStop{default_stop_synced_ms, ExpectedStop::Basis::default_synced}
                      : ExpectedStop{default_stop_catching_up_ms,
                                     ExpectedStop::Basis::default_catching_up};
    }
    ExpectedStop expected{0, ExpectedStop::Basis::measured, stops_.back().took_ms};
    for (const MeasuredStop& stop : stops_) {
        expected.ms = std::max(expected.ms, scaled(stop, cache_mib_));
    }
    return expected;
}

}  // namespace zvkob
