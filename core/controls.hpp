#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/control_table.hpp"

namespace zvkob {

// The state a user can see of one control: enabled, visible, text, colour.
// The model is the single source of truth; a view may observe each control and
// mirror every change on screen.
class Control {
public:
    explicit Control(const ControlSpec& design);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const ControlSpec& design() const { return design_; }
    std::string_view name() const { return design_.name; }

    bool enabled() const { return enabled_; }
    void set_enabled(bool enabled);
    bool visible() const { return visible_; }
    void set_visible(bool visible);

    // The caption of a label, button or tickbox, or the text of a text box.
    const std::string& text() const { return text_; }
    void set_text(std::string_view text);

    std::optional<Colour> back_colour() const { return back_colour_; }
    void set_back_colour(Colour colour);

    const std::string& tooltip() const { return tooltip_; }
    void set_tooltip(std::string_view tooltip);

    // A user's click (or a test's). Each kind decides what a click does.
    virtual void click();
    void set_on_click(std::function<void()> handler) { on_click_ = std::move(handler); }

    void set_observer(std::function<void()> observer) { observer_ = std::move(observer); }

protected:
    void changed() const;
    void run_click_handler() const;

private:
    const ControlSpec& design_;
    bool enabled_;
    bool visible_;
    std::string text_;
    std::optional<Colour> back_colour_;
    std::string tooltip_;
    std::function<void()> on_click_;
    std::function<void()> observer_;
};

// A check box. Its click rule runs whenever its tick changes, whether the user
// clicked it or code set it, nested inside the code that set it. Setting the
// tick it already has, or changing only the enabled state, runs nothing.
class Tickbox : public Control {
public:
    explicit Tickbox(const ControlSpec& design);

    int tick() const { return tick_; }
    bool ticked() const { return tick_ == 1; }
    void set_tick(int tick);
    void set_ticked(bool ticked) { set_tick(ticked ? 1 : 0); }

    // A user's click toggles between clear and ticked.
    void click() override;

private:
    int tick_;
};

// A command of the window's menu, shown ticked or not. Unlike a tickbox it
// runs no rule when its tick changes: its click decides.
class MenuItem : public Control {
public:
    explicit MenuItem(const ControlSpec& design) : Control(design), ticked_(design.tick == 1) {}

    bool ticked() const { return ticked_; }
    void set_ticked(bool ticked);

private:
    bool ticked_;
};

using Button = Control;
using Label = Control;
using TextBox = Control;

// What a timer's tick does. One that only reads and shows what it read (the
// process watcher) goes on ticking while a message box is open, so its
// labels stay live; the parts of it that act wait for the box
// (EventGate::act_when_free). One that acts waits until the box is closed.
enum class TickEffect { acts, reads_only };

// A window timer. It fires only while it is switched on and has an interval.
class Timer {
public:
    explicit Timer(std::string name, TickEffect effect = TickEffect::acts)
        : name_(std::move(name)), effect_(effect) {}
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::string& name() const { return name_; }
    TickEffect effect() const { return effect_; }
    int interval_ms() const { return interval_ms_; }
    void set_interval(int interval_ms);
    bool enabled() const { return enabled_; }
    void set_enabled(bool enabled);
    bool running() const { return enabled_ && interval_ms_ > 0; }

    void set_on_tick(std::function<void()> handler) { on_tick_ = std::move(handler); }
    void tick() const;

    void set_observer(std::function<void()> observer) { observer_ = std::move(observer); }

private:
    void changed() const;

    std::string name_;
    TickEffect effect_;
    int interval_ms_ = 0;
    bool enabled_ = false;
    std::function<void()> on_tick_;
    std::function<void()> observer_;
};

// The controls of one window, built from its table, each found by its design.
class ControlSet {
public:
    explicit ControlSet(const WindowSpec& design);

    const WindowSpec& design() const { return design_; }
    const std::vector<std::unique_ptr<Control>>& all() const { return controls_; }
    const std::vector<std::unique_ptr<MenuItem>>& window_menu() const { return menu_; }

    Control& of(const ControlSpec& design) const;
    Tickbox& tickbox_of(const ControlSpec& design) const;
    MenuItem& menu_item_of(const ControlSpec& design) const;

private:
    const WindowSpec& design_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::unique_ptr<MenuItem>> menu_;
};

}  // namespace zvkob
