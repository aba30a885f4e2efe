#include "core/care/disk_runway.hpp"

#include <cmath>
#include <cstdio>

namespace zvkob {
namespace {

constexpr double day_ms = 86'400'000.0;

std::string gigabytes(double bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f GB", bytes / 1e9);
    return text;
}

}  // namespace

// The newest sample always stands last; older ones stay spaced apart, so
// the window keeps its length however often the node is asked.
void DiskRunway::add(const DiskSample& sample) {
    if (sample.pruned || (!samples_.empty() && sample.at_ms < samples_.back().at_ms)) {
        samples_.clear();  // no runway, or the clock went back: start afresh
    }
    if (sample.pruned) {
        return;
    }
    if (samples_.size() >= 2 &&
        sample.at_ms - samples_[samples_.size() - 2].at_ms < disk_sample_spacing_ms) {
        samples_.back() = sample;
    } else {
        samples_.push_back(sample);
    }
    while (sample.at_ms - samples_.front().at_ms > disk_growth_window_ms) {
        samples_.pop_front();
    }
}

std::optional<double> DiskRunway::days_left() const {
    if (samples_.size() < 2) {
        return std::nullopt;
    }
    const DiskSample& first = samples_.front();
    const DiskSample& last = samples_.back();
    const std::int64_t span_ms = last.at_ms - first.at_ms;
    if (span_ms < disk_growth_least_ms || last.node_bytes <= first.node_bytes) {
        return std::nullopt;
    }
    const double per_day = static_cast<double>(last.node_bytes - first.node_bytes) * day_ms /
                           static_cast<double>(span_ms);
    return static_cast<double>(last.free_bytes) / per_day;
}

std::string runway_words(double days) {
    if (days < 1) {
        return "less than a day";
    }
    const auto whole = static_cast<long long>(std::floor(days));
    return "about " + std::to_string(whole) + (whole == 1 ? " day" : " days");
}

std::string DiskRunway::tooltip_line() const {
    const std::optional<double> days = days_left();
    if (!days || *days >= runway_tooltip_days) {
        return {};
    }
    return "Disk full in " + runway_words(*days);
}

std::optional<RunwayNotice> DiskRunway::take_notice() {
    const std::optional<double> days = days_left();
    if (!days) {
        return std::nullopt;
    }
    if (*days > runway_rearm_days) {
        told_ = false;
    }
    if (told_ || *days >= runway_notice_days) {
        return std::nullopt;
    }
    told_ = true;
    const DiskSample& last = samples_.back();
    const std::string when = runway_words(*days);
    return RunwayNotice{
        "The node's drive will be full in " + when +
            " at its growth of the last hours. Free some space, or move the node's data folder.",
        "The node's drive will be full in " + when + ": " +
            gigabytes(static_cast<double>(last.free_bytes)) + " free, the node holds " +
            gigabytes(static_cast<double>(last.node_bytes)) + "."};
}

bool folder_scan_due(std::optional<std::int64_t> last_scan_ms, std::int64_t now_ms) {
    return !last_scan_ms || now_ms - *last_scan_ms >= folder_scan_every_ms ||
           now_ms < *last_scan_ms;
}

}  // namespace zvkob
