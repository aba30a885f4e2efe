#include "core/notification_area/tray_rules.hpp"

#include <algorithm>

#include "core/node_state/node_progress_text.hpp"
#include "core/shown_text.hpp"

namespace zvkob {
namespace {

constexpr std::string_view program_name = "ZV-KOB";

bool same_ascii_letters(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

// progress_tooltip's lines begin a sentence; after the copy's name they go on one.
std::string going_on(std::string text) {
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') {
        text[0] = static_cast<char>(text[0] + 32);
    }
    return text;
}

// 0.93245 as "93.2 %", never rounded up to a full sync.
std::string percent_text(double fraction) {
    const auto tenths = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 1000.0);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " %";
}

// Shorter than progress_tooltip's: the name comes first and the area shows 127 characters.
std::string catching_up_text(const NodeProgressState& state) {
    std::string text = "catching up";
    if (state.sync_progress) {
        text += " · " + percent_text(*state.sync_progress);
    } else if (state.height) {
        text += " · height " + with_thousands(*state.height);
    }
    if (state.behind_ms) {
        text += " · " + behind_text(*state.behind_ms) + " behind";
    }
    return text;
}

std::string starting_text(const NodeProgressState& state) {
    return state.phase == StartPhase::opening
               ? "node starting"
               : "node starting · " + going_on(progress_tooltip(state));
}

TrayIcon running_icon(const NodeProgressState* progress) {
    if (progress == nullptr) {
        return {TrayMark::running, "node running"};
    }
    switch (progress->condition) {
        case NodeCondition::starting:
            return {TrayMark::busy, starting_text(*progress)};
        case NodeCondition::catching_up:
            return {TrayMark::busy, catching_up_text(*progress)};
        case NodeCondition::stopping:
            return {TrayMark::busy, "node stopping…"};
        case NodeCondition::synced:
            return {TrayMark::synced,
                    "synced" + (progress->height ? " · height " + with_thousands(*progress->height)
                                                 : std::string())};
        case NodeCondition::stuck:
        case NodeCondition::needs_attention:
            return {TrayMark::trouble, going_on(progress_tooltip(*progress))};
        case NodeCondition::network_paused:
            return {TrayMark::running, going_on(progress_tooltip(*progress))};
        case NodeCondition::unknown:
            break;
    }
    return {TrayMark::running, "node running"};
}

}  // namespace

std::string tray_name(std::string_view instance) {
    if (instance.empty() || same_ascii_letters(instance, program_name)) {
        return std::string(program_name);
    }
    return std::string(program_name) + " " + std::string(instance);
}

TrayIcon tray_icon(const TrayFacts& facts) {
    TrayIcon icon = running_icon(facts.progress);
    if (facts.query_fails) {
        icon = {TrayMark::not_watching, "cannot tell whether the node runs"};
    } else if (!facts.node_runs) {
        icon = {TrayMark::stopped, "node stopped"};
    }
    icon.tooltip =
        shown_text(tray_name(facts.instance) + ": " + icon.tooltip, tray_tooltip_characters);
    return icon;
}

// A clock set back does not hold notices back.
bool NoticeRules::may_show(NoticeKind kind, std::int64_t now_ms) const {
    if (kind == NoticeKind::caught_up && caught_up_told_) {
        return false;
    }
    const auto& last = last_shown_ms_[static_cast<std::size_t>(kind)];
    return !last || now_ms - *last >= notice_every_ms || now_ms < *last;
}

void NoticeRules::shown(NoticeKind kind, std::int64_t now_ms) {
    last_shown_ms_[static_cast<std::size_t>(kind)] = now_ms;
    if (kind == NoticeKind::caught_up) {
        caught_up_told_ = true;
    }
}

void TrayKeeper::show(const std::optional<TrayIcon>& icon, std::int64_t now_ms) {
    if (!icon) {
        if (state_ != State::off) {
            area_.remove();
            state_ = State::off;
            on_screen_.reset();
        }
        if (hidden_) {
            bring_back();
        }
        return;
    }
    wanted_ = *icon;
    const bool due = state_ == State::off ||
                     (state_ == State::shown &&
                      (on_screen_ != wanted_ || now_ms - confirmed_ms_ >= tray_check_every_ms ||
                       now_ms < confirmed_ms_));
    if (due) {  // while retrying, or given up, the next attempt takes the newest icon
        trying_since_ms_ = now_ms;
        attempt(now_ms);
    }
}

// A new taskbar knows no icon: the old one is forgotten, the new one gets a fresh minute.
void TrayKeeper::taskbar_created(std::int64_t now_ms) {
    if (state_ == State::off) {
        return;
    }
    area_.remove();
    on_screen_.reset();
    trying_since_ms_ = now_ms;
    attempt(now_ms);
}

void TrayKeeper::retry(std::int64_t now_ms) {
    if (state_ == State::retrying) {
        attempt(now_ms);
    }
}

void TrayKeeper::attempt(std::int64_t now_ms) {
    if (area_.show(wanted_)) {
        state_ = State::shown;
        on_screen_ = wanted_;
        confirmed_ms_ = now_ms;
        return;
    }
    on_screen_.reset();
    trying_since_ms_ = std::min(trying_since_ms_, now_ms);  // a clock set back starts it again
    if (now_ms - trying_since_ms_ < tray_retry_for_ms) {
        state_ = State::retrying;
        return;
    }
    state_ = State::gave_up;  // until Explorer starts again, or the tick is cleared and set
    history_.record(
        "ZV-KOB could not put its icon in the notification area for a minute; its "
        "window stays in view. " +
        area_.why());
    if (hidden_) {
        bring_back();
    }
}

void TrayKeeper::minimised() {
    if (state_ == State::shown && !hidden_) {
        area_.hide_window();
        hidden_ = true;
    }
}

void TrayKeeper::bring_back() {
    hidden_ = false;
    area_.bring_window_back();
}

bool TrayKeeper::notice(NoticeKind kind, std::string_view title, std::string_view text,
                        std::int64_t now_ms) {
    // The area is asked last: on Windows it loads a library.
    if (state_ != State::shown || !notices_.may_show(kind, now_ms) || area_.user_is_busy() ||
        !area_.notify(kind, title, text)) {
        return false;
    }
    notices_.shown(kind, now_ms);
    return true;
}

}  // namespace zvkob
