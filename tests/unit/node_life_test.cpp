#include "guardian/node/node_life.hpp"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace zvkob {
namespace {

// A life brought to `stage` by the events that lead there.
NodeLife life_in(NodeStage stage) {
    NodeLife life;
    const std::vector<NodeEvent> road{NodeEvent::start, NodeEvent::seen, NodeEvent::stop_asked,
                                      NodeEvent::gone};
    const std::size_t steps = stage == NodeStage::not_running     ? 0
                              : stage == NodeStage::starting      ? 1
                              : stage == NodeStage::running       ? 2
                              : stage == NodeStage::asked_to_stop ? 3
                                                                  : 4;
    for (std::size_t step = 0; step < steps; ++step) {
        life.on(road[step], 1000);
    }
    return life;
}

// Every event in every stage: where it leads, and how a stop is judged.
TEST(NodeLife, EveryEventInEveryStage) {
    using enum NodeStage;
    using E = NodeEvent;
    struct Case {
        NodeStage from;
        NodeEvent event;
        NodeStage to;
        StopCause cause;
    };
    const StopCause none = StopCause::not_judged;
    const StopCause asked = StopCause::asked_for;
    for (const Case c : {
             Case{not_running, E::start, starting, none},
             Case{not_running, E::seen, running, none},  // adopted
             Case{not_running, E::stop_asked, not_running, none},
             Case{not_running, E::stop_overdue, not_running, none},
             Case{not_running, E::gone, not_running, none},
             Case{not_running, E::verdict, not_running, none},
             Case{starting, E::start, starting, none},
             Case{starting, E::seen, running, none},
             Case{starting, E::stop_asked, starting, none},
             Case{starting, E::stop_overdue, starting, none},
             Case{starting, E::gone, not_running, none},  // the batch file ended first
             Case{starting, E::verdict, starting, none},
             Case{running, E::start, running, none},
             Case{running, E::seen, running, none},
             Case{running, E::stop_asked, asked_to_stop, none},
             Case{running, E::stop_overdue, running, none},
             Case{running, E::gone, stopped, none},
             Case{running, E::verdict, running, none},
             Case{asked_to_stop, E::start, asked_to_stop, none},
             Case{asked_to_stop, E::seen, asked_to_stop, none},
             Case{asked_to_stop, E::stop_asked, asked_to_stop, none},
             Case{asked_to_stop, E::stop_overdue, asked_to_stop, none},
             Case{asked_to_stop, E::stop_refused, running, none},  // never asked after all
             Case{asked_to_stop, E::gone, stopped, asked},
             Case{asked_to_stop, E::verdict, asked_to_stop, none},
             Case{stopped, E::start, starting, none},  // the stop asked for is forgotten
             Case{stopped, E::seen, running, none},
             Case{stopped, E::stop_asked, stopped, asked},
             Case{stopped, E::stop_overdue, stopped, asked},
             Case{stopped, E::gone, stopped, asked},
             Case{stopped, E::verdict, stopped, asked},  // a stop asked for stays asked for
         }) {
        NodeLife life = life_in(c.from);
        life.on(c.event, 2000, StopCause::crashed);
        EXPECT_EQ(life.stage(), c.to)
            << static_cast<int>(c.from) << " on " << static_cast<int>(c.event);
        EXPECT_EQ(life.cause(), c.cause)
            << static_cast<int>(c.from) << " on " << static_cast<int>(c.event);
        EXPECT_EQ(life.stop_request().has_value(),
                  c.to == asked_to_stop || (c.to == stopped && c.cause == asked))
            << static_cast<int>(c.from) << " on " << static_cast<int>(c.event);
    }
}

// An event that fits the stage changes the life and says so; any other is
// ignored, and says that.
TEST(NodeLife, SaysWhetherAnEventChangedIt) {
    using enum NodeStage;
    using E = NodeEvent;
    const std::map<NodeStage, std::set<NodeEvent>> changing{
        {not_running, {E::start, E::seen}},
        {starting, {E::seen, E::gone}},
        {running, {E::stop_asked, E::gone}},
        {asked_to_stop, {E::stop_asked, E::stop_overdue, E::stop_refused, E::gone}},
        {stopped, {E::start, E::seen}}};  // judged already: asked for
    for (const auto& [stage, events] : changing) {
        for (const NodeEvent event : {E::start, E::seen, E::stop_asked, E::stop_overdue,
                                      E::stop_refused, E::gone, E::verdict}) {
            EXPECT_EQ(life_in(stage).on(event, 2000, StopCause::crashed), events.contains(event))
                << static_cast<int>(stage) << " on " << static_cast<int>(event);
        }
    }
}

TEST(NodeLife, AStopNotAskedForIsJudgedOnceAndAStopAskedAgainKeepsItsFirstTime) {
    NodeLife life = life_in(NodeStage::running);
    life.on(NodeEvent::gone, 5000);
    EXPECT_EQ(life.cause(), StopCause::not_judged);
    EXPECT_TRUE(life.on(NodeEvent::verdict, 6000, StopCause::clean));
    EXPECT_FALSE(life.on(NodeEvent::verdict, 7000, StopCause::crashed));
    EXPECT_EQ(life.cause(), StopCause::clean);

    NodeLife asked = life_in(NodeStage::asked_to_stop);
    EXPECT_TRUE(asked.on(NodeEvent::stop_overdue, 61000));
    EXPECT_FALSE(asked.on(NodeEvent::stop_overdue, 62000)) << "told once";
    asked.on(NodeEvent::stop_asked, 70000);
    EXPECT_EQ(asked.stop_request()->first_ms, 1000);
    EXPECT_EQ(asked.stop_request()->last_ms, 70000);
    EXPECT_FALSE(asked.stop_request()->overdue_told) << "a new request is told about anew";
    EXPECT_FALSE(asked.on(NodeEvent::stop_refused, 70000)) << "the first ask stands";

    // How the stop went is kept with its request, until the node goes and after.
    EXPECT_FALSE(life_in(NodeStage::running).on(NodeEvent::ctrl_c_pressed, 1000));
    EXPECT_FALSE(asked.stop_request()->ctrl_c_pressed) << "over its RPC";
    EXPECT_TRUE(asked.on(NodeEvent::ctrl_c_pressed, 71000));
    EXPECT_EQ(asked.stage(), NodeStage::asked_to_stop);
    asked.on(NodeEvent::gone, 80000);
    EXPECT_TRUE(asked.stop_request()->ctrl_c_pressed);
    asked.on(NodeEvent::start, 90000);
    EXPECT_FALSE(asked.stop_request()) << "forgotten at the next start";
}

}  // namespace
}  // namespace zvkob
