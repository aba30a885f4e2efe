#include "core/controls.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace zvkob {
namespace {

constexpr ControlSpec spec_a{.name = "A", .kind = ControlKind::tickbox, .caption = "A"};
constexpr ControlSpec spec_b{.name = "B", .kind = ControlKind::tickbox, .caption = "B", .tick = 1};
constexpr ControlSpec spec_l{.name = "L", .kind = ControlKind::label, .caption = "label"};
constexpr ControlSpec not_in_the_table{.name = "M", .kind = ControlKind::label};

const WindowSpec& two_tickboxes() {
    static const WindowSpec design{
        .name = "TEST", .caption = "test", .controls = {&spec_a, &spec_b, &spec_l}};
    return design;
}

TEST(Tickbox, RunsItsRuleOnlyWhenTheTickChanges) {
    ControlSet controls(two_tickboxes());
    Tickbox& a = controls.tickbox_of(spec_a);
    int runs = 0;
    a.set_on_click([&] { ++runs; });

    a.set_tick(0);
    a.set_enabled(false);
    a.set_enabled(true);
    EXPECT_EQ(runs, 0) << "same tick or enabled state only: no rule";

    a.set_tick(1);
    EXPECT_EQ(runs, 1);
    a.set_tick(1);
    EXPECT_EQ(runs, 1);
    a.click();
    EXPECT_EQ(a.tick(), 0) << "a click toggles";
    EXPECT_EQ(runs, 2);
}

TEST(Tickbox, RulesNestInsideTheCodeThatSetTheTick) {
    ControlSet controls(two_tickboxes());
    Tickbox& a = controls.tickbox_of(spec_a);
    Tickbox& b = controls.tickbox_of(spec_b);
    std::vector<std::string> trace;
    a.set_on_click([&] {
        trace.push_back("A begins");
        b.set_tick(0);
        trace.push_back("A ends");
    });
    b.set_on_click([&] { trace.push_back("B rule, A reads " + std::to_string(a.tick())); });

    a.set_tick(1);
    EXPECT_EQ(trace, (std::vector<std::string>{"A begins", "B rule, A reads 1", "A ends"}));
}

TEST(Control, TellsItsObserverOnlyAboutRealChanges) {
    ControlSet controls(two_tickboxes());
    Control& label = controls.of(spec_l);
    int changes = 0;
    label.set_observer([&] { ++changes; });
    label.set_text("label");
    label.set_enabled(true);
    EXPECT_EQ(changes, 0);
    label.set_text("other");
    label.set_back_colour(colours::red);
    label.set_back_colour(colours::red);
    label.set_visible(false);
    EXPECT_EQ(changes, 3);
}

TEST(ControlSet, BuildsEachControlWithItsDesignState) {
    ControlSet controls(two_tickboxes());
    EXPECT_EQ(controls.tickbox_of(spec_b).tick(), 1);
    EXPECT_EQ(controls.of(spec_l).text(), "label");
    EXPECT_THROW(controls.of(not_in_the_table), std::logic_error);
    EXPECT_THROW(controls.tickbox_of(spec_l), std::logic_error);
}

TEST(Timer, RunsOnlyWithAnIntervalAndSwitchedOn) {
    Timer timer("T");
    timer.set_enabled(true);
    EXPECT_FALSE(timer.running());
    timer.set_interval(500);
    EXPECT_TRUE(timer.running());
    timer.set_enabled(false);
    EXPECT_FALSE(timer.running());
}

}  // namespace
}  // namespace zvkob
