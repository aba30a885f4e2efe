#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zvkob {

// The node's state as the icon's corner mark shows it.
enum class TrayMark {
    synced,        // green dot
    running,       // green ring: the node runs, its progress not followed or known, or its network
                   // paused
    busy,          // yellow dot: starting, catching up or stopping
    stopped,       // grey dot
    trouble,       // red dot: stuck or needs attention
    not_watching,  // grey ring: the process query fails
};

// The notification area shows at most this many characters of a tooltip.
inline constexpr std::size_t tray_tooltip_characters = 127;

struct TrayIcon {
    TrayMark mark = TrayMark::stopped;
    std::string tooltip;  // UTF-8, at most tray_tooltip_characters characters

    bool operator==(const TrayIcon&) const = default;
};

enum class NoticeKind { restarting, gave_up, trouble, caught_up, disk_filling, node_warns };

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

// What the user did at the icon, or what happened to it or to the window.
enum class TrayEventKind {
    open,             // a click on the icon, or Enter on it
    menu,             // a right click or the menu key: the icon's menu, at `at`
    notice_clicked,   // a click on a notice
    taskbar_created,  // Explorer (re)started: the icon is gone and must be added again
    minimised,        // the window was minimised
    restored,         // the window is shown again, however it came back
};

struct TrayEvent {
    TrayEventKind kind = TrayEventKind::open;
    ScreenPoint at;  // for menu: where the menu opens, in screen pixels
};

// One line of the icon's menu.
struct MenuChoice {
    std::string text;  // "&Open ZV-KOB"; unused for a separator
    bool ticked = false;
    bool enabled = true;
    bool separator = false;
    bool is_default = false;  // shown bold: what a click on the icon does
};

// ZV-KOB's one icon in the notification area, its notices, its menu, and
// the main window hidden behind it.
class NotificationArea {
public:
    virtual ~NotificationArea() = default;

    // Adds the icon, or changes it; false when the notification area refuses
    // or is missing (why() says which).
    virtual bool show(const TrayIcon& icon) = 0;
    // Takes the icon away; nothing happens when it is not there.
    virtual void remove() = 0;
    // A quiet notice beside the icon; false (with why()) when it cannot be given.
    virtual bool notify(NoticeKind kind, std::string_view title, std::string_view text) = 0;
    // Quiet time, presentation mode or a full-screen program: no notice now.
    virtual bool user_is_busy() = 0;
    virtual std::string why() = 0;

    // Shows the icon's menu and waits for a choice: the index of the chosen
    // item, or nothing when the menu was dismissed.
    virtual std::optional<std::size_t> choose_from_menu(const std::vector<MenuChoice>& items,
                                                        ScreenPoint at) = 0;

    // Hides the minimised main window and its taskbar button.
    virtual void hide_window() = 0;
    // Shows the main window again, restored, in front.
    virtual void bring_window_back() = 0;
};

}  // namespace zvkob
