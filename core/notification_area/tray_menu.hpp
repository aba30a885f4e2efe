#pragma once
#include <cstddef>
#include <optional>
#include <vector>

#include "core/controls.hpp"
#include "platform/notification_area.hpp"

namespace zvkob {

// The icon's menu: "Open ZV-KOB" (what a click on the icon does), the window
// menu's own commands with their ticks as they are now, and "Close ZV-KOB".
std::vector<MenuChoice> tray_menu(const ControlSet& controls);

struct TrayMenuPick {
    enum class What { open, command, close };
    What what = What::open;
    MenuItem* command = nullptr;  // for command: the window menu's item, to click
};

// What the item at `chosen` of tray_menu(controls) stands for; nothing for a separator.
std::optional<TrayMenuPick> tray_menu_pick(const ControlSet& controls, std::size_t chosen);

}  // namespace zvkob
