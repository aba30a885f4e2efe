#include "core/notification_area/tray_menu.hpp"

namespace zvkob {
namespace {

struct Entry {
    MenuChoice choice;
    std::optional<TrayMenuPick> pick;
};

// The menu and what each of its lines stands for, built together so they never disagree.
std::vector<Entry> entries(const ControlSet& controls) {
    const Entry separator{{.separator = true}, std::nullopt};
    std::vector<Entry> menu{
        {{.text = "&Open ZV-KOB", .is_default = true}, TrayMenuPick{TrayMenuPick::What::open}}};
    menu.push_back(separator);
    for (const auto& item : controls.window_menu()) {
        if (item->design().separator_before && !menu.back().choice.separator) {
            menu.push_back(separator);
        }
        menu.push_back(
            {{.text = item->text(), .ticked = item->ticked(), .enabled = item->enabled()},
             TrayMenuPick{TrayMenuPick::What::command, item.get()}});
    }
    if (!menu.back().choice.separator) {
        menu.push_back(separator);
    }
    menu.push_back({{.text = "&Close ZV-KOB"}, TrayMenuPick{TrayMenuPick::What::close}});
    return menu;
}

}  // namespace

std::vector<MenuChoice> tray_menu(const ControlSet& controls) {
    std::vector<MenuChoice> menu;
    for (Entry& entry : entries(controls)) {
        menu.push_back(std::move(entry.choice));
    }
    return menu;
}

std::optional<TrayMenuPick> tray_menu_pick(const ControlSet& controls, std::size_t chosen) {
    const std::vector<Entry> menu = entries(controls);
    return chosen < menu.size() ? menu[chosen].pick : std::nullopt;
}

}  // namespace zvkob
