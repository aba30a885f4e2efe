#pragma once
#include <string>

#include "core/outcome.hpp"
#include "core/setting_keys.hpp"
#include "core/settings_store.hpp"
#include "core/window_frame.hpp"

namespace zvkob {

// Typed reads and writes of the catalogue's keys. Each read asks the store
// once; a stored text that does not convert (a hand-edited store) yields the
// key's default rather than stopping the program. A window's size is never
// read smaller than its default, the size it was designed at.

int read_tick(SettingsStore& store, const SettingKey& key);
float read_twips(SettingsStore& store, const SettingKey& key);
std::string read_text(SettingsStore& store, const SettingKey& key);

// The four stored keys of a window's position and size.
struct GeometryKeys {
    const SettingKey& left;
    const SettingKey& top;
    const SettingKey& width;
    const SettingKey& height;
};

// Places a window as stored, reading left, top, width and height in that order.
void restore_geometry(SettingsStore& store, const GeometryKeys& keys, WindowFrame& frame);

Outcome save_tick(SettingsStore& store, const SettingKey& key, int tick);
Outcome save_twips(SettingsStore& store, const SettingKey& key, float twips);
Outcome save_text(SettingsStore& store, const SettingKey& key, std::string_view text);

}  // namespace zvkob
