#include "core/settings_access.hpp"

#include "core/setting_text.hpp"

namespace zvkob {

int read_tick(SettingsStore& store, const SettingKey& key) {
    const auto tick = parse_tick(store.get(key.name, key.default_text));
    return tick ? *tick : *parse_tick(key.default_text);
}

float read_twips(SettingsStore& store, const SettingKey& key) {
    const std::string text = store.get(key.name, key.default_text);
    const float design = *parse_position(key.default_text);
    if (key.kind == SettingKind::size) {
        // Smaller than designed, a window would hide its own controls.
        const auto size = parse_size(text);
        return size && *size >= design ? *size : design;
    }
    const auto position = parse_position(text);
    return position ? *position : design;
}

std::string read_text(SettingsStore& store, const SettingKey& key) {
    return store.get(key.name, key.default_text);
}

void restore_geometry(SettingsStore& store, const GeometryKeys& keys, WindowFrame& frame) {
    const float left = read_twips(store, keys.left);
    const float top = read_twips(store, keys.top);
    frame.set_position(left, top);
    const float width = read_twips(store, keys.width);
    const float height = read_twips(store, keys.height);
    frame.set_size(width, height);
}

Outcome save_tick(SettingsStore& store, const SettingKey& key, int tick) {
    return store.save(key.name, tick_text(tick));
}

Outcome save_twips(SettingsStore& store, const SettingKey& key, float twips) {
    return store.save(key.name, twips_text(twips));
}

Outcome save_text(SettingsStore& store, const SettingKey& key, std::string_view text) {
    return store.save(key.name, text);
}

}  // namespace zvkob
