#include "platform/win32/windows/popup_menu.hpp"

#include "platform/win32/owners.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

// Command 0 means "dismissed", so item i is command i + 1.
UINT command_of(std::size_t index) {
    return static_cast<UINT>(index) + 1;
}

MenuHandle built(const std::vector<MenuChoice>& items) {
    MenuHandle menu(CreatePopupMenu());
    for (std::size_t index = 0; menu && index < items.size(); ++index) {
        const MenuChoice& item = items[index];
        if (item.separator) {
            AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const UINT flags = MF_STRING | (item.ticked ? MF_CHECKED : MF_UNCHECKED) |
                           (item.enabled ? MF_ENABLED : MF_GRAYED);
        AppendMenuW(menu.get(), flags, command_of(index), widen(item.text).c_str());
        if (item.is_default) {
            SetMenuDefaultItem(menu.get(), command_of(index), FALSE);
        }
    }
    return menu;
}

}  // namespace

// The window must be in front, or the menu stays open when the user clicks
// elsewhere; the message posted after lets the next click open it again.
std::optional<std::size_t> track_popup_menu(HWND window, const std::vector<MenuChoice>& items,
                                            POINT at) {
    const MenuHandle menu = built(items);
    if (!menu || items.empty()) {
        return std::nullopt;
    }
    SetForegroundWindow(window);
    const UINT align = GetSystemMetrics(SM_MENUDROPALIGNMENT) != 0 ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    const auto chosen = static_cast<UINT>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY | align, at.x,
                       at.y, 0, window, nullptr));
    PostMessageW(window, WM_NULL, 0, 0);
    if (chosen == 0 || chosen > items.size()) {
        return std::nullopt;
    }
    return chosen - 1;
}

}  // namespace zvkob::win32
