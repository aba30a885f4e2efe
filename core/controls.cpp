#include "core/controls.hpp"

#include <stdexcept>

namespace zvkob {

Control::Control(const ControlSpec& design)
    : design_(design),
      enabled_(design.enabled),
      visible_(design.visible),
      text_(design.caption),
      back_colour_(design.back_colour),
      tooltip_(design.tooltip) {}

void Control::set_enabled(bool enabled) {
    if (enabled_ != enabled) {
        enabled_ = enabled;
        changed();
    }
}

void Control::set_visible(bool visible) {
    if (visible_ != visible) {
        visible_ = visible;
        changed();
    }
}

void Control::set_text(std::string_view text) {
    if (text_ != text) {
        text_ = text;
        changed();
    }
}

void Control::set_back_colour(Colour colour) {
    if (back_colour_ != colour) {
        back_colour_ = colour;
        changed();
    }
}

void Control::set_tooltip(std::string_view tooltip) {
    if (tooltip_ != tooltip) {
        tooltip_ = tooltip;
        changed();
    }
}

void Control::click() {
    run_click_handler();
}

void Control::changed() const {
    if (observer_) {
        observer_();
    }
}

void Control::run_click_handler() const {
    if (on_click_) {
        on_click_();
    }
}

void MenuItem::set_ticked(bool ticked) {
    if (ticked_ != ticked) {
        ticked_ = ticked;
        changed();
    }
}

Tickbox::Tickbox(const ControlSpec& design) : Control(design), tick_(design.tick) {}

void Tickbox::set_tick(int tick) {
    if (tick_ == tick) {
        return;
    }
    tick_ = tick;
    changed();
    run_click_handler();
}

void Tickbox::click() {
    set_tick(tick_ == 1 ? 0 : 1);
}

void Timer::set_interval(int interval_ms) {
    if (interval_ms_ != interval_ms) {
        interval_ms_ = interval_ms;
        changed();
    }
}

void Timer::set_enabled(bool enabled) {
    if (enabled_ != enabled) {
        enabled_ = enabled;
        changed();
    }
}

void Timer::tick() const {
    if (on_tick_) {
        on_tick_();
    }
}

void Timer::changed() const {
    if (observer_) {
        observer_();
    }
}

ControlSet::ControlSet(const WindowSpec& design) : design_(design) {
    controls_.reserve(design.controls.size());
    for (const ControlSpec* control : design.controls) {
        if (control->kind == ControlKind::tickbox) {
            controls_.push_back(std::make_unique<Tickbox>(*control));
        } else {
            controls_.push_back(std::make_unique<Control>(*control));
        }
    }
    for (const ControlSpec* item : design.window_menu) {
        menu_.push_back(std::make_unique<MenuItem>(*item));
    }
}

MenuItem& ControlSet::menu_item_of(const ControlSpec& design) const {
    for (const auto& item : menu_) {
        if (&item->design() == &design) {
            return *item;
        }
    }
    throw std::logic_error("no menu item " + std::string(design.name) + " in " +
                           std::string(design_.name));
}

Control& ControlSet::of(const ControlSpec& design) const {
    for (const auto& control : controls_) {
        if (&control->design() == &design) {
            return *control;
        }
    }
    throw std::logic_error("no control " + std::string(design.name) + " in " +
                           std::string(design_.name));
}

Tickbox& ControlSet::tickbox_of(const ControlSpec& design) const {
    auto* tickbox = dynamic_cast<Tickbox*>(&of(design));
    if (tickbox == nullptr) {
        throw std::logic_error(std::string(design.name) + " is not a tickbox");
    }
    return *tickbox;
}

}  // namespace zvkob
