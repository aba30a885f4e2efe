// The node as a good neighbour: its network paused on metered links, its
// priority lowered for the user.
#include <gtest/gtest.h>

#include "core/power/metered_pause.hpp"
#include "core/power/node_priority.hpp"

namespace zvkob {
namespace {

TEST(MeteredLink, IsAnyCostByUseButNotUnrestrictedNorCongestedAlone) {
    const std::pair<std::uint32_t, bool> costs[] = {
        {0, false},
        {link_cost::unrestricted, false},
        {link_cost::congested, false},
        {link_cost::unrestricted | link_cost::congested, false},
        {link_cost::fixed, true},
        {link_cost::variable, true},
        {link_cost::over_data_limit, true},
        {link_cost::roaming, true},
        {link_cost::approaching_data_limit, true},
        {link_cost::unrestricted | link_cost::roaming, true},
    };
    for (const auto& [cost, metered] : costs) {
        EXPECT_EQ(is_metered(cost), metered) << std::hex << cost;
    }
}

MeteredFacts link(std::uint32_t cost, bool active, bool ticked = true) {
    return {ticked, true, cost, active};
}

constexpr NetworkOutcome done = NetworkOutcome::done;
constexpr NetworkOutcome refused = NetworkOutcome::refused;

constexpr std::uint32_t metered = link_cost::fixed;
constexpr std::uint32_t free_link = link_cost::unrestricted;

TEST(MeteredPause, PausesOnAMeteredLinkAndResumesOnlyWhatItPaused) {
    MeteredPause rule;
    EXPECT_EQ(rule.update(link(free_link, true)).action, NetworkAction::none);
    EXPECT_EQ(rule.update(link(metered, true)).action, NetworkAction::pause);
    EXPECT_EQ(rule.answered(NetworkAction::pause, done, ""),
              "The link is metered: ZV-KOB paused the node's network.");
    EXPECT_TRUE(rule.paused());
    EXPECT_EQ(rule.update(link(metered, false)).action, NetworkAction::none);
    EXPECT_EQ(rule.update({true, false, free_link, std::nullopt}).action, NetworkAction::none)
        << "the node does not answer";
    EXPECT_EQ(rule.update({true, true, std::nullopt, false}).action, NetworkAction::none)
        << "the cost is unknown";
    EXPECT_TRUE(rule.paused());
    EXPECT_EQ(rule.update({true, true, free_link, std::nullopt}).action, NetworkAction::resume)
        << "a node that does not tell is taken as ZV-KOB left it";
    EXPECT_EQ(rule.answered(NetworkAction::resume, refused, "timed out"),
              "ZV-KOB could not resume the node's network: timed out");
    EXPECT_EQ(rule.update({true, true, free_link, std::nullopt}).action, NetworkAction::resume)
        << "a node that does not tell is taken as ZV-KOB left it";
    EXPECT_EQ(rule.answered(NetworkAction::resume, refused, "timed out"), "") << "told once";
    EXPECT_EQ(rule.answered(NetworkAction::resume, done, ""),
              "The link is no longer metered: ZV-KOB resumed the node's network.");
    EXPECT_FALSE(rule.paused());

    MeteredPause users_pause;
    EXPECT_EQ(users_pause.update({true, true, metered, std::nullopt}).action, NetworkAction::none)
        << "a state not known yet may be the user's pause: nothing is asked";
    EXPECT_EQ(users_pause.update(link(metered, false)).action, NetworkAction::none);
    EXPECT_EQ(users_pause.update(link(free_link, false)).action, NetworkAction::none)
        << "a network the user paused stays paused";
}

// A call that had no answer may have been carried out: the node's state
// read after it settles what came of it, and an unknown state waits.
TEST(MeteredPause, ACallWithoutAnAnswerIsSettledByTheStateReadAfterIt) {
    constexpr NetworkOutcome no_answer = NetworkOutcome::unknown;
    MeteredPause rule;
    rule.update(link(metered, true));
    EXPECT_EQ(rule.answered(NetworkAction::pause, no_answer, "timed out"), "");
    EXPECT_EQ(rule.update({true, true, metered, std::nullopt}).event, "") << "unknown: it waits";
    EXPECT_EQ(rule.update(link(metered, false)).event,
              "The link is metered: ZV-KOB paused the node's network.");
    EXPECT_TRUE(rule.paused());
    ASSERT_EQ(rule.update(link(free_link, false)).action, NetworkAction::resume);
    rule.answered(NetworkAction::resume, no_answer, "");
    EXPECT_EQ(rule.update(link(free_link, true)).event,
              "The link is no longer metered: ZV-KOB resumed the node's network.");
    EXPECT_FALSE(rule.paused());

    ASSERT_EQ(rule.update(link(metered, true)).action, NetworkAction::pause);
    rule.answered(NetworkAction::pause, no_answer, "timed out");
    EXPECT_EQ(rule.update(link(metered, true)).event,
              "The link is metered, but ZV-KOB could not pause the node's network: timed out");

    MeteredPause paused_already;
    paused_already.update(link(metered, true));
    EXPECT_EQ(paused_already.answered(NetworkAction::pause, NetworkOutcome::already, ""), "")
        << "paused by someone else: nothing of ZV-KOB's";
    EXPECT_FALSE(paused_already.paused());
}

TEST(MeteredPause, LeavesOnANetworkSwitchedOnAgainOrThatCouldNotBePaused) {
    MeteredPause rule;
    rule.update(link(metered, true));
    rule.answered(NetworkAction::pause, done, "");
    const MeteredStep switched_on = rule.update(link(metered, true));
    EXPECT_EQ(switched_on.action, NetworkAction::none);
    EXPECT_EQ(switched_on.event,
              "The node's network was switched on again, not by ZV-KOB: it stays on while the "
              "link is metered.");
    EXPECT_EQ(rule.update(link(metered, true)).action, NetworkAction::none);
    rule.update(link(free_link, true));
    EXPECT_EQ(rule.update(link(metered, true)).action, NetworkAction::pause) << "a new stretch";

    EXPECT_EQ(rule.answered(NetworkAction::pause, refused, "Method not found"),
              "The link is metered, but ZV-KOB could not pause the node's network: Method not "
              "found");
    EXPECT_EQ(rule.update(link(metered, true)).action, NetworkAction::none);
    rule.node_started();
    EXPECT_EQ(rule.update(link(metered, true)).action, NetworkAction::pause) << "a new run";
    rule.answered(NetworkAction::pause, done, "");
    EXPECT_EQ(rule.update(link(metered, false, false)).action, NetworkAction::resume);
    EXPECT_EQ(rule.answered(NetworkAction::resume, done, ""),
              "Pause the Node's Network on Metered Links was switched off: ZV-KOB resumed the "
              "node's network.");
    EXPECT_EQ(rule.update(link(metered, true, false)).action, NetworkAction::none);
}

TEST(NodePriority, LowersOnlyANodeThisCopyStartedAndRestoresItWhenClearedWhileItRuns) {
    EXPECT_EQ(priority_at_start(true), NodePriority::low);
    EXPECT_EQ(priority_at_start(false), NodePriority::normal);

    NodePriorityRule rule;
    EXPECT_EQ(rule.update({true, false, true}), std::nullopt) << "not held yet";
    EXPECT_EQ(rule.update({true, true, false}), std::nullopt) << "adopted";
    EXPECT_EQ(rule.update({false, true, true}), std::nullopt) << "created normal";
    EXPECT_EQ(rule.update({true, true, true}), NodePriority::low);
    EXPECT_EQ(rule.update({true, true, true}), std::nullopt) << "once";
    EXPECT_EQ(rule.update({false, true, true}), NodePriority::normal);
    EXPECT_EQ(rule.update({false, true, true}), std::nullopt);
    EXPECT_EQ(rule.update({true, true, true}), NodePriority::low);
    rule.node_started();
    EXPECT_EQ(rule.update({true, true, true}), NodePriority::low) << "a new run";

    const Outcome ok = Outcome::success();
    const Outcome denied = Outcome::failure("Access is denied.");
    EXPECT_EQ(rule.applied(NodePriority::low, {ok, ok}),
              "The node runs at low priority: below-normal CPU and low I/O.");
    EXPECT_EQ(rule.applied(NodePriority::low, {ok, denied}),
              "The node runs at below-normal CPU priority; its I/O priority could not be "
              "lowered: Access is denied.");
    EXPECT_EQ(rule.applied(NodePriority::normal, {denied, ok}),
              "The node runs at normal I/O priority again; its CPU priority could not be "
              "restored: Access is denied.");
    EXPECT_EQ(rule.applied(NodePriority::low, {denied, denied}),
              "ZV-KOB could not lower the node's priority: Access is denied.");
    EXPECT_EQ(rule.applied(NodePriority::normal, {ok, ok}),
              "The node runs at normal priority again.");
}

}  // namespace
}  // namespace zvkob
