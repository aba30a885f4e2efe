#pragma once
#include <windows.h>

#include <cstddef>
#include <vector>

#include "core/controls.hpp"
#include "core/event_gate.hpp"
#include "platform/win32/windows/gdi_cache.hpp"
#include "platform/win32/windows/top_level_window.hpp"
#include "platform/win32/windows/view_writing.hpp"

namespace zvkob::win32 {

// A control's id is its position in its window's table, counted from this.
inline constexpr int first_control_id = 1000;

// The standard controls of a window's table, as child windows that mirror
// their models: the model's changes are shown, the user's clicks and typing go
// back to it through the event gate.
class ControlWindows {
public:
    ControlWindows(const TopLevelWindow& window, const ControlSet& controls, EventGate& gate,
                   ViewWriting& writing)
        : window_(window), controls_(controls), gate_(gate), writing_(writing) {}

    // Creates every control in Tab order, placed, sized and lettered for
    // `dpi`, in the state of its model.
    void create(UINT dpi);
    // Positions, sizes and fonts for the window's DPI.
    void place(UINT dpi);

    std::size_t count() const { return children_.size(); }
    HWND child(std::size_t index) const { return children_[index]; }

    // Shows the state of control `index` of the table.
    void apply(std::size_t index);
    // A notification of a control (WM_COMMAND).
    void command(int id, int code);
    // The colours a control is painted in (WM_CTLCOLOR...).
    LRESULT colour(HDC dc, HWND child, UINT message, WPARAM wparam, LPARAM lparam);

    // The window lost or regained the input: the focus goes back where it was.
    void remember_focus();
    bool restore_focus() const;

private:
    void create_child(std::size_t index, UINT dpi);
    void show_tick(HWND child, const Tickbox& tickbox) const;
    void show_enabled(HWND child, bool enabled) const;
    void move_focus_off(HWND child) const;
    std::size_t index_of(HWND child) const;

    const TopLevelWindow& window_;
    const ControlSet& controls_;
    EventGate& gate_;
    ViewWriting& writing_;
    GdiCache gdi_;
    std::vector<HWND> children_;  // same order as the table
    HWND focus_ = nullptr;
};

}  // namespace zvkob::win32
