#include "core/event_gate.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace zvkob {
namespace {

// What arrives while a handler waits on a message box: a click is dropped, a
// tick or a close runs once afterwards, and the watcher runs at once.
TEST(EventGate, WhileAHandlerRunsDropsClicksDefersTicksAndLetsTheWatcherRead) {
    EventGate gate([](std::string_view) {});
    std::vector<std::string> trace;
    const int tick_key = 0;
    const int close_key = 0;
    EXPECT_TRUE(gate.run([&] {
        trace.push_back("handler shows a box");
        EXPECT_FALSE(gate.run([&] { trace.push_back("click"); }));
        gate.run_when_free(&tick_key, [&] { trace.push_back("tick"); });
        gate.run_when_free(&tick_key, [&] { trace.push_back("tick again"); });
        gate.run_when_free(&close_key, [&] { trace.push_back("close"); });
        gate.run_beside([&] {
            trace.push_back("watcher");
            gate.run_beside([&] { trace.push_back("watcher inside itself"); });
        });
        trace.push_back("box closed");
    }));
    EXPECT_EQ(trace, (std::vector<std::string>{"handler shows a box", "watcher", "box closed",
                                               "tick", "close"}));
    EXPECT_FALSE(gate.busy());
    gate.run_when_free(&tick_key, [&] { trace.push_back("tick when free"); });
    EXPECT_EQ(trace.back(), "tick when free");
}

TEST(EventGate, ReportsAFailureAndStaysUsable) {
    std::vector<std::string> reports;
    EventGate gate([&](std::string_view what) { reports.emplace_back(what); });
    gate.run([] { throw std::runtime_error("the query service is gone"); });
    ASSERT_EQ(reports, std::vector<std::string>{"the query service is gone"});
    int runs = 0;
    EXPECT_TRUE(gate.run([&] { ++runs; }));
    EXPECT_EQ(runs, 1);
}

TEST(EventGate, ReopensWhileAModalWindowIsShownFromAHandler) {
    EventGate gate([](std::string_view) {});
    int runs = 0;
    gate.run([&] {
        {
            EventGate::Reopened modal(gate);
            EXPECT_TRUE(gate.run([&] { ++runs; }));
        }
        EXPECT_TRUE(gate.busy());
    });
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(gate.busy());
}

}  // namespace
}  // namespace zvkob
