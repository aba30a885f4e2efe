#pragma once
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "core/controls.hpp"
#include "core/outcome.hpp"
#include "core/settings/settings_catalogue.hpp"
#include "core/window_frame.hpp"
#include "platform/settings_store.hpp"

namespace zvkob {

// One of the four numbers of a window's frame.
struct FrameEdge {
    enum Which { left, top, width, height };
    WindowFrame* frame;
    Which which;
};

// Where a window keeps one stored setting: a tickbox, a ticked command of its
// menu, a text box, a text of its model, or its frame.
using SettingField = std::variant<Tickbox*, MenuItem*, TextBox*, std::string*, FrameEdge>;

// A window's fields for the stored settings it reads or writes.
using SettingFields = std::vector<std::pair<const StoredSetting*, SettingField>>;

// Reads every setting of the catalogue with this use into its field, in the
// catalogue's order; a restored tick that changes runs its rule at once. A
// stored text that does not read as its kind (edited by hand) gives the
// default, and a size is never read smaller than its default, the size the
// window was designed at.
void restore_settings(SettingsStore& store, SettingUse use, const SettingFields& fields);

// Writes every setting of the catalogue with this use, in the catalogue's
// order, but a setting stored only once changed that the store lacks and
// that holds its default. Every one is attempted; the outcome names those
// that could not be saved and the store's reason.
Outcome save_settings(SettingsStore& store, SettingUse use, const SettingFields& fields);

}  // namespace zvkob
