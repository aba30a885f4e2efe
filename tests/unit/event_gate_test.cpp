#include "core/event_gate.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace zvkob {
namespace {

TEST(EventGate, SkipsAnEventThatArrivesWhileAHandlerRuns) {
    std::vector<std::string> reports;
    EventGate gate([&](std::string_view what) { reports.emplace_back(what); });
    int inner_runs = 0;
    bool inner_ran = true;
    EXPECT_TRUE(gate.run([&] { inner_ran = gate.run([&] { ++inner_runs; }); }));
    EXPECT_FALSE(inner_ran);
    EXPECT_EQ(inner_runs, 0);
    EXPECT_FALSE(gate.busy());
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
