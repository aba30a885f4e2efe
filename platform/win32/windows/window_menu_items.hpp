#pragma once
#include <windows.h>

#include <cstddef>
#include <functional>

#include "core/controls.hpp"
#include "core/event_gate.hpp"
#include "platform/win32/windows/top_level_window.hpp"

namespace zvkob::win32 {

// The window menu's own commands are numbered from this, sixteen apart (the
// system keeps the low four bits of a window menu command).
inline constexpr UINT first_menu_command = 0x1000;

// A window's own items in its window menu (the menu of its icon), below what
// the system puts there, each showing its model's tick and enabled state.
class WindowMenuItems {
public:
    WindowMenuItems(const TopLevelWindow& window, const ControlSet& controls, EventGate& gate,
                    const std::function<void()>& opening)
        : window_(window), controls_(controls), gate_(gate), opening_(opening) {}

    void create();
    // Follows the models of the items, or no longer.
    void observe();
    void forget();

    // A command chosen in the window menu (WM_SYSCOMMAND); returns whether it
    // was one of the window's own, which the system must then leave alone.
    bool command(WPARAM command);
    // A menu is about to open (WM_INITMENUPOPUP): the window menu's ticks are brought up to date.
    void opening(LPARAM lparam);

private:
    void apply(std::size_t index) const;

    const TopLevelWindow& window_;
    const ControlSet& controls_;
    EventGate& gate_;
    const std::function<void()>& opening_;  // brings the model's ticks up to date
};

}  // namespace zvkob::win32
