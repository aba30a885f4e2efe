#include "core/node_log/log_follower.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "fakes.hpp"

namespace zvkob {
namespace {

using Lines = std::vector<std::string_view>;

using testing::FakeLog;

// Numbered lines of the node's kind, `bytes` long in all.
std::string numbered_lines(std::size_t bytes, char mark = 'a') {
    std::string text;
    for (int number = 0; text.size() < bytes; ++number) {
        text += "2025-07-16T04:50:47Z UpdateTip: " + std::string(1, mark) +
                " height=" + std::to_string(number) + "\n";
    }
    return text;
}

TEST(LogFollower, StartsFromTheEndWithWholeLinesOnly) {
    FakeLog small;
    small.text = "first\r\nsecond\npartial";
    LogFollower follower;
    const NewLogLines& read = follower.poll(small);
    EXPECT_EQ(read.reading, LogReading::from_end);
    EXPECT_EQ(read.lines, (Lines{"first", "second"}));

    FakeLog large;
    large.text = numbered_lines(200 * 1024);
    LogFollower from_end;
    const NewLogLines& tail = from_end.poll(large);
    ASSERT_FALSE(tail.lines.empty());
    EXPECT_TRUE(tail.lines.front().starts_with("2025-07-16T04:50:47Z UpdateTip: a height="));
    EXPECT_EQ(std::string(tail.lines.back()) + "\n",
              large.text.substr(large.text.rfind('\n', large.text.size() - 2) + 1));
    std::size_t bytes = 0;
    for (const std::string_view line : tail.lines) {
        bytes += line.size() + 1;
    }
    EXPECT_LE(bytes, follow_from_end_bytes);
    EXPECT_GT(bytes, follow_from_end_bytes - 100);
}

TEST(LogFollower, ReadsOnlyWhatWasAddedAndNothingWhenTheSizeIsTheSame) {
    FakeLog log;
    log.text = "one\n";
    LogFollower follower;
    follower.poll(log);
    const int reads = log.reads;
    EXPECT_TRUE(follower.poll(log).lines.empty());
    EXPECT_EQ(log.reads, reads);

    // A line the node was writing while it was read is completed at the next poll.
    log.text += "two\r\nthr";
    EXPECT_EQ(follower.poll(log).lines, (Lines{"two"}));
    log.text += "ee\r";
    EXPECT_TRUE(follower.poll(log).lines.empty());
    log.text += "\nfour\n";
    const NewLogLines& read = follower.poll(log);
    EXPECT_EQ(read.reading, LogReading::continued);
    EXPECT_EQ(read.lines, (Lines{"three", "four"}));

    log.most_per_read = 3;
    log.text += "five\nsix\n";
    EXPECT_EQ(follower.poll(log).lines, (Lines{"five", "six"}));
}

TEST(LogFollower, RestartsFromTheEndWhenTheFileShrankOrWasReplaced) {
    FakeLog log;
    log.text = numbered_lines(1000);
    LogFollower follower;
    follower.poll(log);

    // The node keeps the end of a large log at its start.
    log.text = log.text.substr(log.text.size() - 200) + "new run\n";
    const NewLogLines& shrunk = follower.poll(log);
    EXPECT_EQ(shrunk.reading, LogReading::restarted);
    EXPECT_EQ(shrunk.lines.back(), "new run");

    // Another file of a larger size: the bytes before the old end differ.
    log.text = numbered_lines(2000, 'b');
    const NewLogLines& replaced = follower.poll(log);
    EXPECT_EQ(replaced.reading, LogReading::restarted);
    EXPECT_EQ(replaced.lines.front(), "2025-07-16T04:50:47Z UpdateTip: b height=0");
}

TEST(LogFollower, JumpsToTheEndWhenMoreThanOneMebibyteIsNew) {
    FakeLog log;
    log.text = "start\n";
    LogFollower follower;
    follower.poll(log);
    const std::string burst = numbered_lines(3 * 1024 * 1024);
    log.text += burst;
    const NewLogLines& read = follower.poll(log);
    EXPECT_EQ(read.reading, LogReading::jumped_ahead);
    EXPECT_EQ(read.skipped_bytes, burst.size() - follow_from_end_bytes);
    EXPECT_LT(read.lines.size(), 2000U);
    log.text += "after\n";
    EXPECT_EQ(follower.poll(log).lines, (Lines{"after"}));
}

TEST(LogFollower, DropsALineTooLongToBeTheNodes) {
    FakeLog log;
    log.text = "one\n";
    LogFollower follower;
    follower.poll(log);
    log.text += std::string(follow_from_end_bytes + 10, 'x');
    EXPECT_TRUE(follower.poll(log).lines.empty());
    log.text += "xxx\ntwo\n";
    EXPECT_EQ(follower.poll(log).lines, (Lines{"two"}));
}

}  // namespace
}  // namespace zvkob
