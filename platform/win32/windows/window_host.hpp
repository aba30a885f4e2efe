#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "core/controls.hpp"
#include "core/event_gate.hpp"
#include "core/window_frame.hpp"
#include "platform/win32/windows/control_tooltips.hpp"
#include "platform/win32/windows/control_windows.hpp"
#include "platform/win32/windows/frame_placement.hpp"
#include "platform/win32/windows/top_level_window.hpp"
#include "platform/win32/windows/view_writing.hpp"
#include "platform/win32/windows/window_menu_items.hpp"
#include "platform/win32/windows/window_timers.hpp"

namespace zvkob::win32 {

// The model of one window, as the renderer sees it.
struct HostedWindow {
    const ControlSet& controls;
    WindowFrame& frame;
    std::vector<Timer*> timers;
    std::function<void()> window_menu_opening = {};  // brings the menu's ticks up to date
};

// Turns a window's control table into a real top-level window of standard
// controls and keeps it a mirror of the model: every model change is shown at
// once; clicks, typing, moves and timer ticks go back to the model through
// the event gate.
class WindowHost : private MessageHandler {
public:
    WindowHost(HostedWindow window, EventGate& gate, HWND owner);
    ~WindowHost();
    WindowHost(const WindowHost&) = delete;
    WindowHost& operator=(const WindowHost&) = delete;

    HWND handle() const { return window_.handle(); }
    bool exists() const { return window_.exists(); }

    // Shows and activates the window, with the focus on its first control in Tab order.
    void show();
    void destroy();

    // What a close request (close box, Alt+F4, WM_CLOSE) does; by default the window is destroyed.
    std::function<void()> on_close;
    // Lets the owner answer other messages; returns true when it has.
    std::function<bool(UINT message, WPARAM, LPARAM, LRESULT& result)> on_message;

private:
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) override;
    bool activated(WPARAM wparam);
    void close_requested();
    void observe_model();
    void forget_model();

    HostedWindow model_;
    EventGate& gate_;
    ViewWriting writing_;  // the view is writing to the screen, not the user
    TopLevelWindow window_;
    ControlWindows controls_;
    ControlTooltips tooltips_;
    WindowMenuItems menu_;
    WindowTimers timers_;
    FramePlacement placement_;
};

// A close that cannot be refused but waits for a running handler (one that
// shows a message ends first): the unload runs through the gate, then the
// window goes. A close asked for again meanwhile closes once.
void close_after_unload(WindowHost& host, EventGate& gate, std::function<void()> unload);

}  // namespace zvkob::win32
