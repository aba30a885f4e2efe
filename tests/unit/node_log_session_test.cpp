#include "core/node_log/node_log_session.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/node_log/node_log_line.hpp"
#include "core/node_log/node_stop_verdict.hpp"
#include "fakes.hpp"

namespace zvkob {
namespace {

using Lines = std::vector<std::string_view>;

std::string log_text(const Lines& lines, std::string_view line_end = "\n") {
    std::string text;
    for (const std::string_view line : lines) {
        text.append(line).append(line_end);
    }
    return text;
}

using testing::FakeLog;

LogSession session_of(const std::string& text) {
    FakeLog log(text);
    return latest_log_session(std::ref(log));
}

NodeStop verdict_of(const Lines& lines, std::optional<unsigned long> exit_code = 0) {
    return node_stop_verdict("C:\\Node\\debug.log", session_of(log_text(lines)), exit_code);
}

// Runs of the node as it logs them, one per version.
const Lines v0_16_clean = {
    "",
    "",
    "2018-07-07 14:50:01 Bitcoin Core version v0.16.3 (release build)",
    "2018-07-07 14:50:02 UpdateTip: new best=0000000000000000001e date='2018-07-07 14:40:11'",
    "2018-07-07 14:58:29 Shutdown: In progress...",
    "2018-07-07 14:58:31 Shutdown: done",
};
const Lines v0_19_clean = {
    "",
    "2020-03-10T08:00:00Z Bitcoin Core version v0.19.1 (release build)",
    "2020-03-10T08:00:00Z Using data directory D:\\Node",
    "2020-03-10T09:00:00Z Shutdown: In progress...",
    "2020-03-10T09:00:03Z Shutdown: done",
};
const Lines v24_clean_then_qt_threads = {
    "",
    "2023-05-01T10:00:00Z Bitcoin Core version v24.0.1 (release build)",
    "2023-05-01T10:00:00.123456Z [qt] GUI: requestShutdown",
    "2023-05-01T11:00:00Z Shutdown: In progress...",
    "2023-05-01T11:00:02Z Shutdown: done",
    "2023-05-01T11:00:02Z [qt] GUI: Shutdown finished",
};
const Lines v30_clean = {
    "",
    "",
    "2025-10-20T09:00:00Z Bitcoin Core version v30.0.0 (release build)",
    "2025-10-20T09:00:01Z [warning] Config file arg testnet=1 ignored",
    "[*] 2025-10-20T09:00:01Z [net] Rate limiting dropped some lines",
    "2025-10-20T09:30:00Z Shutdown in progress...",
    "2025-10-20T09:30:02Z Shutdown done",
};
const Lines dogecoin_clean = {
    "",
    "2024-01-02 03:04:05 Dogecoin version v1.14.6.0-3d2ce5ec0",
    "2024-01-02 04:00:00 Shutdown: In progress...",
    "2024-01-02 04:00:01 Shutdown: done",
};

TEST(LogTime, ReadsEveryDateTheNodeWrites) {
    EXPECT_EQ(parse_log_time("2025-07-16T04:50:47Z"), 1752641447000);
    EXPECT_EQ(parse_log_time("2025-07-16T04:50:47.123456Z"), 1752641447123);
    EXPECT_EQ(parse_log_time("2025-07-16 04:50:47.123456"), 1752641447123);
    EXPECT_EQ(parse_log_time("2016-01-05 21:50:05"), 1452030605000);
    EXPECT_EQ(parse_log_time("2000-02-29 23:59:59"), 951868799000);
    EXPECT_EQ(parse_log_time("1970-01-01T00:00:00Z"), 0);
    const auto block_date = leading_log_time("2016-01-05 21:50:05' progress=0.1");
    ASSERT_TRUE(block_date);
    EXPECT_EQ(block_date->length, 19U);
    for (const char* bad : {"", "2025-07-16T04:50:47", "2025-07-16T04:50:47.Z",
                            "2025-13-01T00:00:00Z", "1900-02-29 00:00:00", "2025-04-31 00:00:00",
                            "2025-07-16 24:00:00", "2025/07/16 04:50:47", "2025-07-16X04:50:47Z",
                            "2025-07-16T04:50:47Z ", "2O25-07-16T04:50:47Z", "2025-07-16"}) {
        EXPECT_FALSE(parse_log_time(bad)) << '"' << bad << '"';
    }
}

TEST(LogLine, FindsTimeLevelAndMessageBehindEveryPrefix) {
    struct Case {
        std::string_view line;
        std::optional<std::int64_t> utc_ms;
        bool error_level;
        std::string_view message;
    };
    const Case cases[] = {
        {"2018-07-07 14:58:31 Shutdown: done\r", 1530975511000, false, "Shutdown: done"},
        {"2017-12-14 10:02:07.123456 Shutdown: done", 1513245727123, false, "Shutdown: done"},
        {"[*] 2025-07-16T04:50:47Z [error] A fatal internal error occurred", 1752641447000, true,
         "A fatal internal error occurred"},
        {"2025-07-16T04:50:47Z [msghand] [validation.cpp:123] [ProcessMessages] [warning] Tip",
         1752641447000, false, "Tip"},
        {"2025-07-16T04:50:47Z [background validation] UpdateTip: new best=00", 1752641447000,
         false, "UpdateTip: new best=00"},
        {"2025-07-16T04:50:47Z [wallet without its end", 1752641447000, false,
         "[wallet without its end"},
        {"2025-07-16T04:50:47Z [error]", 1752641447000, false, "[error]"},
        {"Bitcoin Core version v29.0.0 (release build)", std::nullopt, false,
         "Bitcoin Core version v29.0.0 (release build)"},
        {"2025-07-16T04:5", std::nullopt, false, "2025-07-16T04:5"},
    };
    for (const Case& c : cases) {
        const LogLine line = read_log_line(c.line);
        EXPECT_EQ(line.utc_ms, c.utc_ms) << c.line;
        EXPECT_EQ(line.error_level, c.error_level) << c.line;
        EXPECT_EQ(line.message, c.message) << c.line;
    }
}

TEST(LatestLogSession, StartsAtTheLastVersionLineThatFollowsEmptyLines) {
    Lines lines = v0_19_clean;
    lines.insert(lines.end(), v30_clean.begin(), v30_clean.end());
    lines.push_back("2025-10-20T09:30:03Z peer=3 using version v70016, not a start");
    const LogSession session = session_of(log_text(lines, "\r\n"));
    EXPECT_TRUE(session.start_found);
    EXPECT_EQ(session.lines.front(), v30_clean[2]);
    EXPECT_EQ(session.lines.back(), lines.back());
    EXPECT_EQ(session.started_utc_ms, parse_log_time("2025-10-20T09:00:00Z"));
    EXPECT_TRUE(session_began_since(session, *session.started_utc_ms + 4000));
    EXPECT_FALSE(session_began_since(session, *session.started_utc_ms + 60000));
}

TEST(LatestLogSession, DropsAFirstLineThatMayBeCutUnlessTheFileBeginsThere) {
    // After the node shrank its log, the file begins in the middle of a line.
    const std::string shrunk =
        "ersion v0.19.1 (release build)\n2020-03-10T09:00:03Z Shutdown: done\n";
    FakeLog from_start(shrunk);
    const LogSession whole = latest_log_session(std::ref(from_start));
    EXPECT_TRUE(whole.start_found);
    EXPECT_EQ(whole.lines.size(), 2U);

    const auto tail_only = [&](std::size_t) { return LogTail{shrunk, false, {}}; };
    const LogSession cut = latest_log_session(tail_only);
    EXPECT_EQ(cut.lines, std::vector<std::string>{"2020-03-10T09:00:03Z Shutdown: done"});
}

TEST(LatestLogSession, ReadsMoreOnlyWhileTheSessionStartsEarlierUpToOneMebibyte) {
    const std::string filler =
        log_text({"2023-05-01T10:00:00Z UpdateTip: new best=000000000000000000021f height=790000"});
    std::string long_session = log_text({"", "2023-05-01T09:00:00Z Bitcoin Core version v24.0.1"});
    while (long_session.size() < 100 * 1024) {
        long_session += filler;
    }
    FakeLog log(log_text(v0_16_clean) + long_session);
    const LogSession session = latest_log_session(std::ref(log));
    EXPECT_TRUE(session.start_found);
    EXPECT_EQ(session.lines.front(), "2023-05-01T09:00:00Z Bitcoin Core version v24.0.1");
    EXPECT_EQ(log.tails.size(), 2U);

    FakeLog endless;
    while (endless.text.size() < 2 * log_most_read) {
        endless.text += filler;
    }
    const LogSession capped = latest_log_session(std::ref(endless));
    EXPECT_FALSE(capped.start_found);
    EXPECT_EQ(endless.tails.back(), log_most_read);
    EXPECT_EQ(capped.lines.back(), filler.substr(0, filler.size() - 1));
    // A node that failed before opening its log left this long run's end there.
    const std::int64_t last_line = *parse_log_time("2023-05-01T10:00:00Z");
    EXPECT_TRUE(session_began_since(capped, last_line));
    EXPECT_FALSE(session_began_since(capped, last_line + 60'000));
}

TEST(NodeStopVerdict, TellsACleanStopByTheDoneLineOfEveryVersion) {
    struct Case {
        const char* name;
        Lines lines;
        std::optional<unsigned long> exit_code;
        HowItStopped how;
    };
    Lines after_a_clean_run = v0_19_clean;
    after_a_clean_run.insert(after_a_clean_run.end(),
                             {"", "2020-03-11T08:00:00Z Bitcoin Core version v0.19.1",
                              "2020-03-11T08:00:01Z Loading block index..."});
    const Case cases[] = {
        {"0.16", v0_16_clean, 0, HowItStopped::clean},
        {"0.13 with -logtimemicros",
         {"", "2017-12-14 09:00:00.000001 Bitcoin version v0.13.2",
          "2017-12-14 10:02:06.908070 Shutdown: In progress...",
          "2017-12-14 10:02:07.123456 Shutdown: done"},
         0,
         HowItStopped::clean},
        {"0.19, exit code unknown", v0_19_clean, std::nullopt, HowItStopped::clean},
        {"24, lines after the done line", v24_clean_then_qt_threads, 0, HowItStopped::clean},
        {"30", v30_clean, 0, HowItStopped::clean},
        {"a fork", dogecoin_clean, 0, HowItStopped::clean},
        {"done without in progress",
         {"", "x version v1.0", "Shutdown: done"},
         0,
         HowItStopped::clean},
        {"29 exit code 1", v0_19_clean, 1, HowItStopped::after_error},
        {"in progress, no done",
         {"", "x version v1.0", "Shutdown in progress..."},
         0,
         HowItStopped::cut_short},
        {"done line being written",
         {"", "x version v1.0", "Shutdown: In progress...", "Shutdown: do"},
         std::nullopt,
         HowItStopped::cut_short},
        {"killed after a clean run", after_a_clean_run, 0, HowItStopped::crash},
        {"killed stopping, its start unseen",
         {"", "x version v1.0", "Shutdown: done", "Loading block index...",
          "Shutdown: In progress..."},
         0,
         HowItStopped::cut_short},
        // Dash and its forks begin their shutdown in PrepareShutdown (dashpay/dash src/init.cpp).
        {"a fork that ended before it finished",
         {"", "x version v1.0", "2023-06-01T10:44:10Z PrepareShutdown: In progress...",
          "2023-06-01T10:44:10Z scheduler thread exit"},
         0,
         HowItStopped::cut_short},
        {"a fork's clean stop",
         {"", "x version v1.0", "2023-06-01T10:44:10Z PrepareShutdown: In progress...",
          "2023-06-01T10:44:11Z Shutdown: done"},
         0,
         HowItStopped::clean},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(verdict_of(c.lines, c.exit_code).how, c.how) << c.name;
    }
    EXPECT_EQ(verdict_of(v30_clean).why, "C:\\Node\\debug.log ends with Shutdown done");
    EXPECT_EQ(node_stop_verdict("x", session_of(log_text(v0_16_clean, "\r\n")), 0).why,
              "x ends with Shutdown: done");
    EXPECT_EQ(verdict_of(v24_clean_then_qt_threads).why,
              "C:\\Node\\debug.log shows Shutdown: done near its end");
    EXPECT_EQ(verdict_of({"", "x version v1.0", "2025-10-20T09:30:00Z Shutdown in progress..."},
                         0xC000013A)
                  .why,
              "C:\\Node\\debug.log shows Shutdown in progress... but no done line: the node was "
              "asked to stop and ended before it finished (the node exited with code 0xC000013A, "
              "ended by Ctrl+C)");
}

// Current nodes log "[error]" for what a peer does; such a line counts only
// where the run ends on it. The signs of a stop count wherever they stand.
TEST(NodeStopVerdict, CountsAnErrorLineOnlyWhereTheRunEndsOnIt) {
    const std::string start = "2025-01-10T08:00:00Z Bitcoin Core version v28.1.0 (release build)";
    const std::string peer_error =
        "2025-01-10T09:00:00Z [msghand] [error] ProcessNewBlock: AcceptBlock FAILED (high-hash, "
        "proof of work failed)";
    const std::string tip =
        "2025-01-10T09:05:00Z [msghand] UpdateTip: new best=0000abc height=878001 "
        "version=0x20000000 log2_work=95.6 tx=1 date='2025-01-10T09:04:00Z' progress=1.000000";
    const std::string peer_joined = "2025-01-10T09:07:00Z [net] New outbound peer connected";
    const std::string stop_begins = "2025-01-10T09:10:00Z Shutdown: In progress...";
    const std::string stop_done = "2025-01-10T09:10:05Z Shutdown: done";
    const std::string fatal =
        "2025-01-10T09:00:00Z [error] A fatal internal error occurred, see debug.log for details: "
        "Failed to write block";
    struct Case {
        const char* name;
        std::vector<std::string> end_of_run;
        HowItStopped how;
    };
    const Case cases[] = {
        {"a peer's error, a new tip, a crash", {peer_error, tip}, HowItStopped::crash},
        {"a peer's error, a new tip, a clean stop",
         {peer_error, tip, stop_begins, stop_done},
         HowItStopped::clean},
        {"a peer's error, then other lines and a clean stop",
         {peer_error, peer_joined, stop_begins, stop_done},
         HowItStopped::clean},
        {"an error, then at once the shutdown",
         {peer_error, stop_begins, stop_done},
         HowItStopped::after_error},
        {"an error, then the end", {tip, peer_error}, HowItStopped::after_error},
        {"a sign of a stop before progress",
         {fatal, tip, stop_begins, stop_done},
         HowItStopped::after_error},
    };
    for (const Case& c : cases) {
        Lines lines = {"", start};
        lines.insert(lines.end(), c.end_of_run.begin(), c.end_of_run.end());
        EXPECT_EQ(verdict_of(lines, 0).how, c.how) << c.name;
    }
}

// Where several errors end a run, the most pressing kind decides the advice;
// a full or failing disk is never answered with a rebuild.
TEST(NodeStopVerdict, AdvisesByTheKindOfEveryErrorAtTheRunsEnd) {
    const std::string_view disk_full = "Free space on the drive that holds the node's data, then";
    const std::string_view disk_low = "the node stops itself when too little is free";
    const std::string_view device = "Check the drive that holds the node's data";
    const std::string_view reindex = "Start the node once by hand with -reindex";
    const std::string_view own_advice =
        "advises: \"Please restart with -reindex or -reindex-chainstate to recover.\"";
    const std::string_view read_log = "Read the node's log";
    struct Case {
        std::vector<std::string_view> end_of_run;
        std::string_view hint;  // empty: not an error that counts
        std::size_t shown = 0;  // the line of end_of_run that the verdict shows
    };
    const Case cases[] = {
        {{"2021-06-01T12:00:00Z Fatal LevelDB error: IO error: /home/n/.bitcoin/chainstate/"
          "2963623.ldb: No space left on device",
          "2021-06-01T12:00:00Z Error: A fatal internal error occurred, see debug.log for details"},
         disk_full},
        {{"[*] 2025-01-01T00:00:00Z [msghand] [validation.cpp:2880] [FlushStateToDisk] [error] A "
          "fatal internal error occurred, see debug.log for details: Failed to write to coin "
          "database: IO error: D:\\Node\\chainstate\\012345.ldb: There is not enough space on the "
          "disk."},
         disk_full},
        {{"2019-03-01 10:00:00 *** Disk space is low!",
          "2019-03-01 10:00:00 Error: Error: Disk space is low!"},
         disk_low},
        {{"2023-05-01T10:00:00Z Error: Disk space is too low!"}, disk_low},
        {{"2023-05-01T10:00:00Z Shutting down due to lack of disk space!"}, disk_low},
        {{"2024-02-02T00:00:00Z Fatal LevelDB error: IO error: /mnt/n/chainstate/001234.ldb: "
          "Input/output error"},
         device},
        {{"2024-02-02T00:00:00Z [error] A fatal internal error occurred, see debug.log for "
          "details: "
          "Failed to read block: The request could not be performed because of an I/O device "
          "error."},
         device},
        {{"2017-12-14 10:02:07.123456 *** Failed to write block: Data error (cyclic redundancy "
          "check)."},
         device},
        {{"2022-01-01T00:00:00Z Fatal LevelDB error: Corruption: block checksum mismatch"},
         reindex},
        {{"2019-07-07 07:07:07 LevelDB read failure: Corruption: checksum mismatch"}, reindex},
        {{"2020-05-05T05:05:05Z *** Database corrupted"}, reindex},
        {{"2018-01-01 00:00:00 : Corrupted block database detected.",
          "Please restart with -reindex or -reindex-chainstate to recover."},
         reindex},
        {{"2022-01-01T00:00:00Z Error reading from database, shutting down."}, reindex},
        {{"2017-12-14 10:02:07 : Error loading block database.",
          "Please restart with -reindex or -reindex-chainstate to recover."},
         own_advice},
        {{"2024-03-03T03:03:03Z : Error opening block database."}, "could not open its database"},
        {{"2019-01-01T00:00:00Z *** Failed to write block"}, read_log},
        {{"2025-10-20T09:00:02Z [error] A fatal internal error occurred, see debug.log for "
          "details: Disk full"},
         read_log},
        {{"2022-01-01T00:00:00Z [validation] A fatal internal error occurred"}, read_log},
        {{"2024-02-02T00:00:00Z [error] ReadBlockFromDisk: Deserialize or I/O error",
          "2024-02-02T00:00:00Z Fatal LevelDB error: IO error: x.ldb: No space left on device"},
         disk_full,
         1},
        // bitcoin/bitcoin#17144 (Windows): a block file the node cannot read back.
        {{"2019-10-15T01:47:22Z ERROR: ReadBlockFromDisk: Deserialize or I/O error - "
          "ReadCompactSize(): size too large: iostream error at CDiskBlockPos(nFile=1816, "
          "nPos=16885327)",
          "2019-10-15T01:47:22Z *** Failed to read block"},
         "Once the drive is sound, start the node once by hand with -reindex",
         1},
        // A fork's start that failed on its own database (btcpayserver/btcpayserver#5036).
        {{"2023-06-01T10:44:10Z : Error upgrading evo database.",
          "Please restart with -reindex or -reindex-chainstate to recover.",
          "2023-06-01T10:44:10Z Aborted block database rebuild. Exiting."},
         own_advice},
        {{"2021-05-29T17:12:39Z ERROR: ConnectTip: ConnectBlock 4396f2c7 failed, high-hash, proof "
          "of stake failed (code 16)"},
         read_log},
        {{"2018-01-01 00:00:00 ERROR: AcceptBlockHeader: block is marked invalid"}, ""},
        {{"2025-10-20T09:00:02Z [net:error] peer sent a bad message"}, ""},
    };
    for (const Case& c : cases) {
        Lines lines = {"", "2025-10-20T09:00:00Z Bitcoin Core version v30.0.0"};
        lines.insert(lines.end(), c.end_of_run.begin(), c.end_of_run.end());
        lines.insert(lines.end(), {"2025-10-20T09:00:03Z Shutdown: In progress...",
                                   "2025-10-20T09:00:04Z Shutdown: done"});
        const NodeStop stop = verdict_of(lines, std::nullopt);
        const std::string_view first = c.end_of_run.front();
        if (c.hint.empty()) {
            EXPECT_EQ(stop.how, HowItStopped::clean) << first;
            continue;
        }
        EXPECT_EQ(stop.how, HowItStopped::after_error) << first;
        EXPECT_EQ(stop.fatal_line, c.end_of_run[c.shown]);
        EXPECT_NE(stop.hint.find(c.hint), std::string::npos) << first << ": " << stop.hint;
        if (c.hint == disk_full || c.hint == disk_low || c.hint == device) {
            EXPECT_EQ(stop.hint.find("reindex"), std::string::npos) << first;
        }
    }
}

TEST(NodeStopVerdict, LetsTheExitCodeDecideWhenThereIsNoLogToRead) {
    LogSession unreadable;
    unreadable.failure = "Access is denied.";
    const NodeStop denied = node_stop_verdict("C:\\Node\\debug.log", unreadable, 0);
    EXPECT_EQ(denied.how, HowItStopped::no_log);
    EXPECT_EQ(
        denied.why,
        "C:\\Node\\debug.log cannot be read: Access is denied. (the node exited with code 0)");
    EXPECT_EQ(node_stop_verdict("C:\\Node\\debug.log", session_of("\r\n\n"), 0xC0000005).why,
              "C:\\Node\\debug.log is empty (the node exited with code 0xC0000005, access "
              "violation)");
    EXPECT_EQ(stop_without_log("the node runs with -nodebuglogfile", std::nullopt).how,
              HowItStopped::crash);
    EXPECT_EQ(stop_without_log("the node runs with -nodebuglogfile", 3).how, HowItStopped::crash);
}

TEST(NodeStopVerdict, ShowsTheLastTenLinesCutShortAndReadable) {
    Lines lines = {"", "2025-10-20T09:00:00Z Bitcoin Core version v30.0.0"};
    const std::string long_line(300, 'x');
    const std::string broken = std::string("bad \xC3( \xFF byte") + '\0' + " end";
    for (int i = 0; i < 10; ++i) {
        lines.push_back("UpdateTip: new best");
    }
    lines.push_back(long_line);
    lines.push_back(broken);
    const NodeStop stop = verdict_of(lines);
    ASSERT_EQ(stop.last_lines.size(), stop_lines_shown);
    EXPECT_EQ(stop.last_lines[8], std::string(199, 'x') + "\xE2\x80\xA6");
    EXPECT_EQ(stop.last_lines[9], "bad \xEF\xBF\xBD( \xEF\xBF\xBD byte\xEF\xBF\xBD end");
}

}  // namespace
}  // namespace zvkob
