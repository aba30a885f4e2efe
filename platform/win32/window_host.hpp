#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/controls.hpp"
#include "core/event_gate.hpp"
#include "core/window_frame.hpp"
#include "platform/win32/gdi_cache.hpp"

namespace zvkob::win32 {

// A control's id is its position in its window's table, counted from this.
inline constexpr int first_control_id = 1000;

// The window menu's own commands are numbered from this, sixteen apart (the
// system keeps the low four bits of a window menu command).
inline constexpr UINT first_menu_command = 0x1000;

// The window class of both windows.
inline constexpr wchar_t window_class[] = L"ZV-KOB.Window";

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
class WindowHost {
public:
    WindowHost(HostedWindow window, EventGate& gate, HWND owner);
    ~WindowHost();
    WindowHost(const WindowHost&) = delete;
    WindowHost& operator=(const WindowHost&) = delete;

    HWND handle() const { return hwnd_; }
    bool exists() const { return hwnd_ != nullptr; }

    // Shows and activates the window, with the focus on its first control in Tab order.
    void show();
    void destroy();

    // What a close request (close box, Alt+F4, WM_CLOSE) does; by default the window is destroyed.
    std::function<void()> on_close;
    // Lets the owner answer other messages; returns true when it has.
    std::function<bool(UINT message, WPARAM, LPARAM, LRESULT& result)> on_message;

private:
    static LRESULT CALLBACK window_procedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);

    void create_window(HWND owner);
    void create_controls();
    void create_tooltips();
    void create_window_menu();
    void apply_menu_item(std::size_t index) const;
    bool window_menu_command(WPARAM command);
    void observe_model();
    void forget_model();

    void apply_frame();
    void apply_control(std::size_t index);
    void apply_timer(std::size_t index) const;
    void place_controls();
    void keep_moved_position();
    void on_dpi_changed(UINT dpi, const RECT& suggested);

    void tick_timer(std::size_t index);
    void command(int id, int code);
    LRESULT colour_control(HDC dc, HWND child, UINT message, WPARAM wparam, LPARAM lparam);
    std::size_t index_of(HWND child) const;
    void move_focus_off(HWND child);

    HostedWindow model_;
    EventGate& gate_;
    HWND hwnd_ = nullptr;
    HWND tooltip_ = nullptr;
    HWND focus_ = nullptr;
    UINT dpi_ = 96;
    std::vector<HWND> children_;           // same order as the table
    std::vector<std::wstring> tip_texts_;  // the tooltip control reads them in place
    GdiCache gdi_;
    bool applying_ = false;  // the view is writing to the screen, not the user
};

// A close that cannot be refused but waits for a running handler (one that
// shows a message ends first): the unload runs through the gate, then the
// window goes. A close asked for again meanwhile closes once.
void close_after_unload(WindowHost& host, EventGate& gate, std::function<void()> unload);

}  // namespace zvkob::win32
