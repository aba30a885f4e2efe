#include "core/node_log_session.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/node_log_line.hpp"
#include "core/node_stop_verdict.hpp"

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

// A log file read from its end, as the platform reads it.
struct FakeLog {
    std::string text;
    std::vector<std::size_t> reads;

    LogTail operator()(std::size_t last_bytes) {
        reads.push_back(last_bytes);
        const std::size_t size = std::min(last_bytes, text.size());
        return {text.substr(text.size() - size), size == text.size(), {}};
    }
};

LogSession session_of(const std::string& text) {
    FakeLog log{text, {}};
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
    FakeLog from_start{shrunk, {}};
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
    FakeLog log{log_text(v0_16_clean) + long_session, {}};
    const LogSession session = latest_log_session(std::ref(log));
    EXPECT_TRUE(session.start_found);
    EXPECT_EQ(session.lines.front(), "2023-05-01T09:00:00Z Bitcoin Core version v24.0.1");
    EXPECT_EQ(log.reads.size(), 2U);

    FakeLog endless{"", {}};
    while (endless.text.size() < 2 * log_most_read) {
        endless.text += filler;
    }
    const LogSession capped = latest_log_session(std::ref(endless));
    EXPECT_FALSE(capped.start_found);
    EXPECT_EQ(endless.reads.back(), log_most_read);
    EXPECT_EQ(capped.lines.back(), filler.substr(0, filler.size() - 1));
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
         HowItStopped::crash},
        {"done line being written",
         {"", "x version v1.0", "Shutdown: In progress...", "Shutdown: do"},
         std::nullopt,
         HowItStopped::crash},
        {"killed after a clean run", after_a_clean_run, 0, HowItStopped::crash},
        {"killed stopping, its start unseen",
         {"", "x version v1.0", "Shutdown: done", "Loading block index...",
          "Shutdown: In progress..."},
         0,
         HowItStopped::crash},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(verdict_of(c.lines, c.exit_code).how, c.how) << c.name;
    }
    EXPECT_EQ(verdict_of(v30_clean).why, "C:\\Node\\debug.log ends with Shutdown done");
    EXPECT_EQ(node_stop_verdict("x", session_of(log_text(v0_16_clean, "\r\n")), 0).why,
              "x ends with Shutdown: done");
    EXPECT_EQ(verdict_of(v24_clean_then_qt_threads).why,
              "C:\\Node\\debug.log shows Shutdown: done near its end");
}

TEST(NodeStopVerdict, NamesTheFirstFatalErrorAndWhatHelps) {
    const std::string_view disk = "Free space on the drive";
    const std::string_view reindex = "-reindex";
    const std::string_view read_log = "Read the node's log";
    struct Case {
        std::string_view line;
        std::string_view hint;  // empty: not a fatal error
    };
    const Case cases[] = {
        {"2019-01-01T00:00:00Z *** Failed to write block", read_log},
        {"2023-05-01T10:00:00Z Error: Disk space is too low!", disk},
        {"2025-10-20T09:00:02Z [error] A fatal internal error occurred, see debug.log for "
         "details: Disk full",
         read_log},
        {"2024-02-02T00:00:00Z [error] ReadBlockFromDisk: Deserialize or I/O error", read_log},
        {"2022-01-01T00:00:00Z [validation] A fatal internal error occurred", read_log},
        {"2022-01-01T00:00:00Z Fatal LevelDB error: Corruption: block checksum mismatch", reindex},
        {"2018-01-01 00:00:00 : Corrupted block database detected.", reindex},
        {"2022-01-01T00:00:00Z Error reading from database, shutting down.", reindex},
        {"2023-05-01T10:00:00Z Shutting down due to lack of disk space!", disk},
        {"2018-01-01 00:00:00 ERROR: AcceptBlockHeader: block is marked invalid", ""},
        {"2025-10-20T09:00:02Z [net:error] peer sent a bad message", ""},
    };
    for (const Case& c : cases) {
        const NodeStop stop = verdict_of({"", "2025-10-20T09:00:00Z Bitcoin Core version v30.0.0",
                                          c.line, "2025-10-20T09:00:03Z Shutdown: In progress...",
                                          "2025-10-20T09:00:04Z Shutdown: done"});
        if (c.hint.empty()) {
            EXPECT_EQ(stop.how, HowItStopped::clean) << c.line;
            continue;
        }
        EXPECT_EQ(stop.how, HowItStopped::after_error) << c.line;
        EXPECT_EQ(stop.fatal_line, c.line);
        EXPECT_TRUE(stop.hint.find(c.hint) != std::string::npos) << c.line << ": " << stop.hint;
    }
}

TEST(NodeStopVerdict, LetsTheExitCodeDecideWhenThereIsNoLogToRead) {
    const LogSession unreadable{{}, false, std::nullopt, "Access is denied."};
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
