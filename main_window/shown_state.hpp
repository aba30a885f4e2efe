#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/colours.hpp"
#include "core/node_state/node_state_merge.hpp"
#include "guardian/flows/guardian_snapshot.hpp"
#include "main_window/main_window.hpp"

namespace zvkob {

// What the countdown display, the status labels' tooltips and Auto Close's
// tooltip show, worked out in one place from the window's state and the
// guardian's snapshot, so that no feature writes them on its own and none
// can erase what another wrote.
struct ShownState {
    std::string display_text;  // the seconds, "-- --", "m:ss", "wait" or "stop"
    Colour display_colour = colours::pink;
    std::string display_tip;
    std::string qt_tip;
    std::string daemon_tip;
    std::string auto_close_tip;
    TaskbarProgress taskbar;
    std::optional<TrayIcon> tray_icon;  // none: no icon in the notification area
};

ShownState what_the_window_shows(const MainWindow& window, std::int64_t now_ms);

// Shows it; every handler that changes the state ends with this. Within an
// event run by one_look, it is shown once, when the event ends.
void show_state(MainWindow& window);

// Runs one tick of the window, what the window shows worked out once at its
// end; inside another, the outer one shows it. Clicks show as they go.
void one_look(MainWindow& window, const std::function<void()>& event);

// While the window waits on the user or the clock inside an event (a message,
// a question, a dialog, the pause after a start): a look the event held is
// shown first, and events that run meanwhile show their own.
class LookWhileWaiting {
public:
    explicit LookWhileWaiting(MainWindow& window);
    ~LookWhileWaiting();
    LookWhileWaiting(const LookWhileWaiting&) = delete;
    LookWhileWaiting& operator=(const LookWhileWaiting&) = delete;

private:
    MainWindow& window_;
    const bool held_;
};

// Tells the user something, the window showing its state of now behind the message.
void tell(MainWindow& window, std::string_view message);

}  // namespace zvkob
