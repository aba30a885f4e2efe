#include "platform/win32/windows/window_menu_items.hpp"

#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

UINT command_of(std::size_t index) {
    return first_menu_command + 16 * static_cast<UINT>(index);
}

}  // namespace

// The window's own items follow a separator; a group of them begins with another.
void WindowMenuItems::create() {
    const auto& items = controls_.window_menu();
    HMENU menu = items.empty() ? nullptr : GetSystemMenu(window_.handle(), FALSE);
    if (menu == nullptr) {
        return;
    }
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    for (std::size_t index = 0; index < items.size(); ++index) {
        if (items[index]->design().separator_before) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        }
        AppendMenuW(menu, MF_STRING, command_of(index), widen(items[index]->text()).c_str());
        apply(index);
    }
}

void WindowMenuItems::observe() {
    const auto& items = controls_.window_menu();
    for (std::size_t index = 0; index < items.size(); ++index) {
        items[index]->set_observer([this, index] {
            if (window_.exists()) {
                apply(index);
            }
        });
    }
}

void WindowMenuItems::forget() {
    for (const auto& item : controls_.window_menu()) {
        item->set_observer(nullptr);
    }
}

void WindowMenuItems::apply(std::size_t index) const {
    HMENU menu = GetSystemMenu(window_.handle(), FALSE);
    const MenuItem& item = *controls_.window_menu()[index];
    const UINT command = command_of(index);
    // The caption too: an item may say why it is greyed.
    ModifyMenuW(menu, command,
                MF_BYCOMMAND | MF_STRING | (item.ticked() ? MF_CHECKED : MF_UNCHECKED) |
                    (item.enabled() ? MF_ENABLED : MF_GRAYED),
                command, widen(item.text()).c_str());
}

// The system's own commands are left to the system.
bool WindowMenuItems::command(WPARAM command) {
    const auto& items = controls_.window_menu();
    const WPARAM offset = (command & 0xFFF0) - first_menu_command;
    const std::size_t index = offset / 16;
    if ((command & 0xFFF0) < first_menu_command || index >= items.size()) {
        return false;
    }
    MenuItem& item = *items[index];
    if (item.enabled()) {
        gate_.run([&item] { item.click(); });
    }
    return true;
}

// Only the window menu: HIWORD(lparam) is set for it alone.
void WindowMenuItems::opening(LPARAM lparam) {
    if (HIWORD(lparam) != 0 && opening_) {
        gate_.run(opening_);
    }
}

}  // namespace zvkob::win32
