#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/node_state/node_progress.hpp"
#include "platform/history.hpp"
#include "platform/notification_area.hpp"

namespace zvkob {

// What the icon tells of this copy's node.
struct TrayFacts {
    std::string_view instance;  // the copy's instance name
    bool query_fails = false;   // the process query fails: nothing is known
    bool node_runs = false;     // the chosen node program runs
    // None while the progress switch is off or nothing is known of the node.
    const NodeProgressState* progress = nullptr;
};

// The icon's mark and its tooltip: "ZV-KOB Testnet: synced · height 927,012".
TrayIcon tray_icon(const TrayFacts& facts);

// How the icon and its notices name this copy: "ZV-KOB", or "ZV-KOB Testnet"
// for a copy named Testnet.
std::string tray_name(std::string_view instance);

// A notice of one kind is given at most once in this time.
inline constexpr std::int64_t notice_every_ms = 3'600'000;

// When each kind of notice was last given. "Caught up" is said at most once
// per start of the node.
class NoticeRules {
public:
    bool may_show(NoticeKind kind, std::int64_t now_ms) const;
    void shown(NoticeKind kind, std::int64_t now_ms);
    void node_started() { caught_up_told_ = false; }

private:
    std::array<std::optional<std::int64_t>, 6> last_shown_ms_{};
    bool caught_up_told_ = false;
};

// A refused icon is tried again this often, for this long; an icon that
// seems to be there is checked this often.
inline constexpr std::int64_t tray_retry_every_ms = 5'000;
inline constexpr std::int64_t tray_retry_for_ms = 60'000;
inline constexpr std::int64_t tray_check_every_ms = 60'000;

// Keeps the icon in the notification area while the tick is on, hides the
// minimised window behind it and gives the notices. The window is hidden only
// while the icon is there, and comes back whenever the icon goes, so ZV-KOB
// is never out of reach.
class TrayKeeper {
public:
    TrayKeeper(NotificationArea& area, History& history) : area_(area), history_(history) {}

    // The icon as it should be now, or none while the tick is off (the icon
    // goes). Cheap to call on every watcher tick: an unchanged icon is only
    // checked once a minute.
    void show(const std::optional<TrayIcon>& icon, std::int64_t now_ms);
    // Explorer (re)started: the icon is added again.
    void taskbar_created(std::int64_t now_ms);
    // While this holds, call retry() every tray_retry_every_ms.
    bool retrying() const { return state_ == State::retrying; }
    void retry(std::int64_t now_ms);
    bool icon_shown() const { return state_ == State::shown; }

    // The user minimised the window: it goes into the notification area when the icon is there.
    void minimised();
    // The window is shown again by other means (its taskbar button, a second
    // copy of the same name).
    void restored() { hidden_ = false; }
    // A click on the icon or a notice, or "Open ZV-KOB".
    void bring_back();
    bool window_hidden() const { return hidden_; }

    // Gives a notice when the rules allow: the tick is on and the icon is
    // there, the user is not busy, not the same kind within the hour.
    bool notice(NoticeKind kind, std::string_view title, std::string_view text,
                std::int64_t now_ms);
    void node_started() { notices_.node_started(); }

private:
    enum class State { off, shown, retrying, gave_up };

    void attempt(std::int64_t now_ms);

    NotificationArea& area_;
    History& history_;
    State state_ = State::off;
    TrayIcon wanted_;
    std::optional<TrayIcon> on_screen_;
    std::int64_t confirmed_ms_ = 0;
    std::int64_t trying_since_ms_ = 0;
    bool hidden_ = false;
    NoticeRules notices_;
};

}  // namespace zvkob
