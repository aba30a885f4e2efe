#include <gtest/gtest.h>

#include <map>

#include "core/processes/exit_code_text.hpp"
#include "core/rotating_log.hpp"
#include "core/time_text.hpp"
#include "main_window/load_unload.hpp"
#include "guardian/flows/process_watcher.hpp"
#include "main_window/event_order.hpp"
#include "core/version.hpp"
#include "main_window/session_end_events.hpp"
#include "watched_window.hpp"

namespace zvkob {
namespace {

// Files as a map of path to content; a file can be held so that it cannot be moved.
struct FakeLogFiles : LogFiles {
    std::map<std::string, std::string, std::less<>> files;
    std::string held_by;  // why a move fails, when it does
    std::optional<std::uint64_t> size(std::string_view path) override {
        const auto found = files.find(path);
        return found == files.end() ? std::nullopt : std::optional(found->second.size());
    }
    Outcome append(std::string_view path, std::string_view bytes) override {
        files[std::string(path)] += bytes;
        return Outcome::success();
    }
    Outcome replace(std::string_view from, std::string_view to) override {
        if (!held_by.empty()) {
            return Outcome::failure(held_by);
        }
        files[std::string(to)] = files[std::string(from)];
        files.erase(files.find(from));
        return Outcome::success();
    }
};

TEST(HistoryFile, BecomesTheOldLogWhenALineWouldPassTheLimit) {
    FakeLogFiles disk;
    RotatingLog log(disk, "ZV-KOB.log", "ZV-KOB.old.log", 20);
    ASSERT_TRUE(log.append_line("first event").ok());  // 13 bytes with its line end
    ASSERT_TRUE(log.append_line("second").ok());       // 21 would pass 20: a new file
    ASSERT_TRUE(log.append_line("third event").ok());  // and again: the older old log goes
    EXPECT_EQ(disk.files["ZV-KOB.log"], "third event\r\n");
    EXPECT_EQ(disk.files["ZV-KOB.old.log"], "second\r\n");
}

// A viewer that holds the full file keeps it from being moved: every line is
// still written, the history says once why it grows on, and the move is
// tried again at each line until it works.
TEST(HistoryFile, GoesOnPastTheLimitWhileItCannotBeMovedAndSaysSoOnce) {
    FakeLogFiles disk;
    RotatingLog log(disk, "ZV-KOB.log", "ZV-KOB.old.log", 20,
                    [](std::string_view text) { return "T " + std::string(text); });
    ASSERT_TRUE(log.append_line("first event").ok());
    disk.held_by = "held open by a viewer.";
    ASSERT_TRUE(log.append_line("second").ok());
    ASSERT_TRUE(log.append_line("third event").ok());
    const std::string told = "T held open by a viewer. The history goes on in this file";
    const std::string grown = disk.files["ZV-KOB.log"];
    EXPECT_EQ(grown.find("first event\r\n" + told), 0U) << grown;
    EXPECT_EQ(grown.find(told, 1), grown.rfind(told)) << "said once: " << grown;
    EXPECT_NE(grown.find("\r\nsecond\r\nthird event\r\n"), std::string::npos) << grown;
    EXPECT_EQ(disk.files.count("ZV-KOB.old.log"), 0U);

    disk.held_by.clear();
    ASSERT_TRUE(log.append_line("fourth").ok());
    EXPECT_EQ(disk.files["ZV-KOB.log"], "fourth\r\n");
    EXPECT_EQ(disk.files["ZV-KOB.old.log"], grown) << "the whole grown file, nothing lost";

    disk.held_by = "held again.";
    log.append_line("fifth event, long enough");
    EXPECT_NE(disk.files["ZV-KOB.log"].find("T held again."), std::string::npos)
        << "a new failure is said again";
}

// Windows' status codes are known by their hex form, and the common ones by name.
TEST(HistoryText, ExitCodesInDecimalUpToWindowsStatusCodesThenInHexWithTheirName) {
    for (const auto& [code, text] : std::initializer_list<std::pair<unsigned long, std::string>>{
             {0, "0"},
             {9009, "9009"},
             {0x7FFFFFFF, "2147483647"},
             {0x80000003, "0x80000003, breakpoint"},
             {0xC0000005, "0xC0000005, access violation"},
             {0xC000013A, "0xC000013A, ended by Ctrl+C"},
             {0xC0000409, "0xC0000409, fatal application exit or stack buffer overrun"},
             {0xC0DEC0DE, "0xC0DEC0DE"},
             {0xFFFFFFFF, "0xFFFFFFFF"}}) {
        EXPECT_EQ(exit_code_text(code), text);
    }
}

TEST(HistoryText, LocalTimeWithItsOffsetAndDurationsInWords) {
    EXPECT_EQ(iso_local_time({2026, 12, 7, 9, 5, 3, 60}), "2026-12-07T09:05:03+01:00");
    EXPECT_EQ(iso_local_time({2027, 1, 31, 23, 59, 59, -330}), "2027-01-31T23:59:59-05:30");
    EXPECT_EQ(duration_text(45'999), "45 s");
    EXPECT_EQ(duration_text(250'000), "4 min 10 s");
    EXPECT_EQ(duration_text(7'500'000), "2 h 5 min");
    EXPECT_EQ(duration_text(2 * 86'400'000 + 3'600'000), "2 d 1 h");
}

// What the main window records: opening and closing, the programs seen
// starting and stopping, the query failing and recovering once each.
TEST(History, RecordsWhatMattersToANodeOperatorAndNothingEveryTick) {
    testing::WatchedWindow f;
    f.watch(false, false);
    f.watch(true, false);
    f.clock.advance(125'000);
    f.probe.failures[testing::qt_image] = "The process query failed to connect (0x80041003).";
    f.watch(true, false);
    f.watch(true, false);
    f.probe.failures.clear();
    f.node_exit_code = 0xC0000005;
    f.watch(false, false);
    f.watch(false, false);
    session_ends(f.w);
    const std::vector<std::string> expected{
        "ZV-KOB " + std::string(program_version) + " opened (copy ZV-KOB).",
        "The QT program bitcoin-qt.exe is not running.",
        "The DAEMON program bitcoind.exe is not running.",
        "The QT program bitcoin-qt.exe is running (process 5001, adopted: no other copy of ZV-KOB "
        "holds it).",
        "The process query fails: The process query failed to connect (0x80041003).",
        "The QT program bitcoin-qt.exe stopped after 2 min 5 s (process 5001, exit code "
        "0xC0000005, access violation).",
        "The process query answers again.",
        "ZV-KOB closed as Windows ends the session."};
    EXPECT_EQ(f.history.events, expected);
}

}  // namespace
}  // namespace zvkob
