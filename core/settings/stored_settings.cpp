#include "core/settings/stored_settings.hpp"

#include <stdexcept>

#include "core/settings/setting_text.hpp"

namespace zvkob {
namespace {

const SettingField& field_of(const SettingFields& fields, const StoredSetting& setting) {
    for (const auto& [bound, field] : fields) {
        if (bound == &setting) {
            return field;
        }
    }
    throw std::logic_error("no field holds the setting " + std::string(setting.key));
}

float read_twips(const StoredSetting& setting, const std::string& text) {
    const float design = *parse_position(setting.default_text);
    if (setting.kind == SettingKind::size) {
        const auto size = parse_size(text);
        return size && *size >= design ? *size : design;
    }
    return parse_position(text).value_or(design);
}

float edge_of(const FrameEdge& at) {
    const WindowFrame& frame = *at.frame;
    switch (at.which) {
        case FrameEdge::left:
            return frame.left();
        case FrameEdge::top:
            return frame.top();
        case FrameEdge::width:
            return frame.width();
        case FrameEdge::height:
            break;
    }
    return frame.height();
}

void set_edge(const FrameEdge& at, float twips) {
    WindowFrame& frame = *at.frame;
    switch (at.which) {
        case FrameEdge::left:
            frame.set_position(twips, frame.top());
            break;
        case FrameEdge::top:
            frame.set_position(frame.left(), twips);
            break;
        case FrameEdge::width:
            frame.set_size(twips, frame.height());
            break;
        case FrameEdge::height:
            frame.set_size(frame.width(), twips);
            break;
    }
}

void restore(const StoredSetting& setting, const SettingField& field, const std::string& text) {
    const int tick = parse_tick(text).value_or(*parse_tick(setting.default_text));
    if (const auto* tickbox = std::get_if<Tickbox*>(&field)) {
        (*tickbox)->set_tick(tick);
    } else if (const auto* item = std::get_if<MenuItem*>(&field)) {
        (*item)->set_ticked(tick == 1);
    } else if (const auto* box = std::get_if<TextBox*>(&field)) {
        (*box)->set_text(text);
    } else if (const auto* value = std::get_if<std::string*>(&field)) {
        **value = text;
    } else {
        set_edge(std::get<FrameEdge>(field), read_twips(setting, text));
    }
}

std::string stored_text(const SettingField& field) {
    if (const auto* tickbox = std::get_if<Tickbox*>(&field)) {
        return tick_text((*tickbox)->tick());
    }
    if (const auto* item = std::get_if<MenuItem*>(&field)) {
        return tick_text((*item)->ticked() ? 1 : 0);
    }
    if (const auto* box = std::get_if<TextBox*>(&field)) {
        return (*box)->text();
    }
    if (const auto* value = std::get_if<std::string*>(&field)) {
        return **value;
    }
    return twips_text(edge_of(std::get<FrameEdge>(field)));
}

}  // namespace

void restore_settings(SettingsStore& store, SettingUse use, const SettingFields& fields) {
    for (const StoredSetting* setting : setting_catalogue) {
        if ((setting->uses & use) != 0) {
            restore(*setting, field_of(fields, *setting),
                    store.get(setting->key, setting->default_text));
        }
    }
}

Outcome save_settings(SettingsStore& store, SettingUse use, const SettingFields& fields) {
    std::string unsaved;
    std::string reason;
    for (const StoredSetting* setting : setting_catalogue) {
        if ((setting->uses & use) == 0) {
            continue;
        }
        const std::string text = stored_text(field_of(fields, *setting));
        if (setting->stored_once_changed && text == setting->default_text &&
            !store.has(setting->key)) {
            continue;
        }
        const Outcome saved = store.save(setting->key, text);
        if (!saved) {
            unsaved += (unsaved.empty() ? "" : ", ") + std::string(setting->key);
            reason = saved.reason();
        }
    }
    if (unsaved.empty()) {
        return Outcome::success();
    }
    return Outcome::failure("ZV-KOB could not save these settings: " + unsaved + ".\n\n" + reason);
}

}  // namespace zvkob
