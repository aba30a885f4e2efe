#include "core/node_state/node_progress.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/node_log/node_log_line.hpp"
#include "core/node_state/node_progress_line.hpp"
#include "core/node_state/node_progress_text.hpp"
#include "core/node_state/taskbar_progress.hpp"

namespace zvkob {
namespace {

using Kind = ProgressLineKind;
constexpr std::int64_t minute = 60'000;
constexpr std::int64_t hour = 60 * minute;

std::int64_t at(std::string_view time) {
    return parse_log_time(time).value_or(-1);
}

// An UpdateTip line as versions 22 to 29 write it.
std::string tip(std::string_view time, int height, std::string_view block_date,
                std::string_view progress) {
    return std::string(time) +
           " UpdateTip: new best=00000000000000000001a2b3c4d5e6f708192a3b4c5d6e7f8091a2b3c4d5e6f7"
           " height=" +
           std::to_string(height) + " version=0x20000000 log2_work=95.6 tx=1100000000 date='" +
           std::string(block_date) + "' progress=" + std::string(progress) +
           " cache=50.0MiB(300000txo)";
}

// The node's progress with a clock the test moves; local time is UTC+1.
struct Watch {
    NodeProgress progress{[](std::int64_t) { return 60; }};
    std::int64_t now = 0;

    void feed(const std::vector<std::string>& lines) {
        const std::vector<std::string_view> views(lines.begin(), lines.end());
        progress.feed(views, now);
    }
    const NodeProgressState& state() { return progress.state(now); }
    std::string tooltip() { return progress_tooltip(state()); }
    std::vector<std::string> events() { return progress.take_news().events; }
};

// A node of version 29 that is synced at 927,012 at 12:00.
Watch synced_at_noon() {
    Watch watch;
    watch.now = at("2025-07-16T12:00:00Z");
    watch.feed({"2025-07-16T11:00:00Z Leaving InitialBlockDownload (latching to false)",
                tip("2025-07-16T12:00:00Z", 927012, "2025-07-16T11:59:00Z", "1.000000")});
    watch.events();
    return watch;
}

TEST(ProgressLine, ReadsTheLinesOfEveryVersionAndFork) {
    struct Case {
        std::string_view line;
        Kind kind;
        std::int64_t height;
        double progress;
        std::int64_t block_ms;
    };
    const Case cases[] = {
        {"2018-07-07 14:50:02 UpdateTip: new best=0000000000000000002b8bd1 height=530000 "
         "version=0x20000000 log2_work=88.97 tx=320000000 date='2018-07-07 14:40:11' "
         "progress=0.999998 cache=2.3MiB(16000txo)",
         Kind::tip, 530000, 0.999998, at("2018-07-07 14:40:11")},
        {"2019-06-01T10:00:00Z UpdateTip: new best=00000000000000000017 height=578000 "
         "version=0x20000000 log2_work=90.1 tx=420000000 date='2019-06-01T09:55:00Z' "
         "progress=1.000000 cache=5.1MiB(37000txo) warning='44 of last 100 blocks have "
         "unexpected version height=1'",
         Kind::tip, 578000, 1.0, at("2019-06-01T09:55:00Z")},
        {"[*] 2025-10-20T09:10:00.123456Z [validation] [info] UpdateTip: new best=0000abc "
         "height=920000 version=0x20000000 log2_work=95.6 tx=1200000000 "
         "date=2025-10-20T09:05:00Z progress=1.000017 cache=50.0MiB(300000txo)\r",
         Kind::tip, 920000, 1.0, at("2025-10-20T09:05:00Z")},
        {"2023-05-01T10:00:00Z [background validation] UpdateTip: new best=0000def height=300000 "
         "version=0x20000000 log2_work=80.2 tx=30000000 date='2014-05-01T00:00:00Z' "
         "progress=0.050000 cache=3.0MiB(2000txo)",
         Kind::background_tip, 300000, 0.05, at("2014-05-01T00:00:00Z")},
        // Litecoin and Dogecoin
        {"2021-06-01T12:00:00Z UpdateTip: new best=8f1c height=2060000 version=0x20000000 "
         "log2_work=74.6 tx=60000000 date='2021-06-01T11:58:00Z' progress=1.000000 "
         "cache=3.0MiB(20000txo)",
         Kind::tip, 2060000, 1.0, at("2021-06-01T11:58:00Z")},
        {"2021-06-01 12:00:00 UpdateTip: new best=a9b2 height=3760000 version=0x00620104 "
         "log2_work=73.2 tx=110000000 date='2021-06-01 11:59:30' progress=0.999999 "
         "cache=12.3MiB(45678tx)",
         Kind::tip, 3760000, 0.999999, at("2021-06-01 11:59:30")},
        {"2017-12-14 10:02:07.123456 UpdateTip: new best=000000000000000000a1 height=498000 "
         "version=0x20000000 log2_work=87.6 tx=280000000 date='2017-12-14 10:00:00' "
         "progress=0.999999 cache=300.1MiB(2000000tx)\r",
         Kind::tip, 498000, 0.999999, at("2017-12-14 10:00:00")},
        {"2018-07-07 14:50:01 Loaded best chain: hashBestChain=00000000000000000021 "
         "height=529999 date=2018-07-07 14:30:00 progress=0.999990",
         Kind::loaded_chain, 529999, 0.99999, at("2018-07-07 14:30:00")},
        {"2020-03-10T08:05:00Z Synchronizing blockheaders, height: 621000 (~99.80%)", Kind::headers,
         621000, -1, -1},
        // Cut in the middle: before its height nothing is taken, after it what is there.
        {"2025-07-16T04:50:47Z UpdateTip: new best=0000abc hei", Kind::other, -1, -1, -1},
        {"2025-07-16T04:50:47Z UpdateTip: new best=0000abc height=900000 version=0x2000", Kind::tip,
         900000, -1, -1},
        {"2025-07-16T04:50:47Z UpdateTip: new best=0 height=-5 progress=0.5", Kind::other, -1, -1,
         -1},
        {"2025-07-16T04:50:47Z UpdateTip: new best=0 height=5 date='garbage' progress=nan",
         Kind::tip, 5, -1, -1},
        {"2025-07-16T04:50:47Z AuxPoW UpdateTip height=5: a fork's own line", Kind::other, -1, -1,
         -1},
        // Forks' new blocks: an algo= field (DigiByte-Core/digibyte#139); zcashd's tracing
        // log (zcash/zcash#6271, its time as tracing writes it); "SetBestChain" of older
        // forks without a time (Anoncoin/oldrepo-backup#17), and with trust= for log2_work=
        // and a date in the C locale's %x, which is not read.
        {"2023-08-13T07:00:50Z UpdateTip: new best=268fc3b612d4 height=17684164 "
         "version=0x20000e02 algo=7 (odo) log2_work=84.16089 tx=44006312 "
         "date='2023-08-13T07:00:34Z' progress=0.054019 cache=118.0MiB(7793txo)",
         Kind::tip, 17684164, 0.054019, at("2023-08-13T07:00:34Z")},
        {"2022-11-30T18:38:33.581712Z  INFO ProcessNewBlock: main: UpdateTip: new best "
         "hash=000000000141dde0 height=1896913 bits=469870521 log2_work=59.507779 tx=11940448 "
         "date=2022-11-30 18:38:31 progress=0.999968 cache=3.3MiB(490tx)",
         Kind::tip, 1896913, 0.999968, at("2022-11-30 18:38:31")},
        {"SetBestChain: new best=ba4eb74e639bb5c4  height=500  log2_work=36.431873  tx=501  "
         "date=2013-10-08 01:23:57 progress=0.002110",
         Kind::tip, 500, 0.00211, at("2013-10-08 01:23:57")},
        {"2014-03-01 10:00:00 SetBestChain: new best=0000000000a1b2c3d4e5  height=150000  "
         "trust=1234567  blocktrust=65536  date=03/01/14 09:59:30",
         Kind::tip, 150000, -1, -1},
        {"2014-03-01 10:00:00 SetBestChain: 3 of last 100 blocks above version 6", Kind::other, -1,
         -1, -1},
    };
    for (const Case& c : cases) {
        const ProgressLine line = read_progress_line(c.line);
        EXPECT_EQ(line.kind, c.kind) << c.line;
        EXPECT_EQ(line.height.value_or(-1), c.height) << c.line;
        EXPECT_DOUBLE_EQ(line.sync_progress.value_or(-1), c.progress) << c.line;
        EXPECT_EQ(line.block_utc_ms.value_or(-1), c.block_ms) << c.line;
    }
}

TEST(ProgressLine, KnowsMilestonesByTheirEnglishOnlyWords) {
    struct Case {
        std::string_view line;
        Kind kind;
        int percent;
    };
    const Case cases[] = {
        {"2018-07-07 14:50:01 Bitcoin Core version v0.16.3 (release build)", Kind::session_start,
         -1},
        {"2024-01-02 03:04:05 Dogecoin version v1.14.6.0-3d2ce5ec0", Kind::session_start, -1},
        {"2025-10-20T09:30:03Z peer=3 using version v70016", Kind::other, -1},
        {"2025-07-16T04:00:02Z init message: Loading block index…", Kind::loading, -1},
        {"2018-07-07 14:50:05 Verifying last 6 blocks at level 3", Kind::verifying, -1},
        {"2025-07-16T04:00:32Z Verification progress: 45%", Kind::verifying, 45},
        {"2019-06-01T10:00:00Z [default wallet] Still rescanning. At block 600000. "
         "Progress=0.512345",
         Kind::rescanning, 51},
        {"2018-07-07 14:50:09 Rescanning last 144 blocks (from block 529855)...", Kind::rescanning,
         -1},
        {"2025-07-16T04:00:09Z Prune: last block file = 3000", Kind::pruning, -1},
        {"2025-07-16T04:00:40Z init message: Done loading", Kind::done_loading, -1},
        {"2025-07-16T04:00:40Z Leaving InitialBlockDownload (latching to false)", Kind::left_ibd,
         -1},
        {"2018-07-07 14:58:29 Shutdown: In progress...", Kind::stopping, -1},
        {"2025-10-20T09:30:00Z Shutdown in progress...", Kind::stopping, -1},
        {"2025-01-01T00:00:00Z [error] A fatal internal error occurred, see debug.log for "
         "details: Failed to write block",
         Kind::fatal, -1},
        {"2018-07-07 14:50:01 *** Disk space is too low!", Kind::fatal, -1},
        {"2025-07-16T04:00:40Z Potential stale tip detected, will try using extra outbound peer "
         "(last tip update: 1850 seconds ago)",
         Kind::other, -1},
        // Dash and its forks begin their shutdown so (dashpay/dash src/init.cpp).
        {"2023-06-01T10:44:10Z PrepareShutdown: In progress...", Kind::stopping, -1},
        // A best block that fails: RavenProject/Ravencoin#1104, DeFiCh/ain#459, 27 on.
        {"2021-10-20 22:39:29 ERROR: ConnectTip(): ConnectBlock 00000000000064e1 failed",
         Kind::block_failed, -1},
        {"2021-05-29T17:12:39Z ERROR: ConnectTip: ConnectBlock 4396f2c7 failed, high-hash, proof "
         "of stake failed (code 16)",
         Kind::block_failed, -1},
        {"2025-01-10T09:00:00Z [msghand] [error] ConnectTip: ConnectBlock 0000ab failed, "
         "bad-txns-inputs-missingorspent",
         Kind::block_failed, -1},
        {"2021-05-29T17:12:39Z ERROR: ConnectBlock: Consensus::CheckBlock: high-hash", Kind::other,
         -1},
        {"EXCEPTION: St9bad_alloc       ", Kind::exception, -1},
        {"UNKNOWN EXCEPTION       ", Kind::exception, -1},
    };
    for (const Case& c : cases) {
        const ProgressLine line = read_progress_line(c.line);
        EXPECT_EQ(line.kind, c.kind) << c.line;
        EXPECT_EQ(line.percent.value_or(-1), c.percent) << c.line;
    }
}

TEST(ProgressLine, ReadsReindexingWarningsErrorsAndPauses) {
    struct Case {
        std::string line;
        Kind kind;
        std::int64_t block_file;
        std::string_view warning;
    };
    const Case cases[] = {
        {"2023-01-01T00:00:00Z [loadblk] Reindexing block file blk02155.dat...", Kind::reindexing,
         2155, ""},
        {"2017-12-14 10:02:07 Reindexing block file blk00012.dat...", Kind::reindexing, 12, ""},
        {"2023-01-01T00:00:05Z [loadblk] Loaded 1234 blocks from external file in 5678ms",
         Kind::reindexing, -1, ""},
        {"2017-12-14 10:02:07.123456 Loaded 98 blocks from external file in 3300ms",
         Kind::reindexing, -1, ""},
        {"2023-01-01T05:00:00Z Reindexing finished", Kind::reindexing, -1, ""},
        {tip("2025-07-16T12:00:00Z", 927012, "2025-07-16T11:59:00Z", "1.000000") +
             " warning='Unknown new rules activated (versionbit 7)'",
         Kind::tip, -1, "Unknown new rules activated (versionbit 7)"},
        {"2016-05-05 05:05:05 UpdateTip: 44 of last 100 blocks have unexpected version",
         Kind::warning, -1, "44 of last 100 blocks have unexpected version"},
        {"2016-05-05 05:05:05 Warning: This version is obsolete; upgrade required!", Kind::warning,
         -1, "This version is obsolete; upgrade required!"},
        {"2025-07-16T04:50:47Z [warning] Flushing large (5 GiB) UTXO set to disk, it may take "
         "several minutes",
         Kind::long_flush, -1, ""},
        {"2025-01-10T09:00:00Z [msghand] [error] ProcessNewBlock: AcceptBlock FAILED (high-hash, "
         "proof of work failed)",
         Kind::error, -1, ""},
        {"2017-12-14 10:02:07 : Error loading block database.", Kind::fatal, -1, ""},
        {"2017-12-14 10:02:07.123456 Shutdown: done\r", Kind::shut_down, -1, ""},
    };
    for (const Case& c : cases) {
        const ProgressLine line = read_progress_line(c.line);
        EXPECT_EQ(line.kind, c.kind) << c.line;
        EXPECT_EQ(line.block_file.value_or(-1), c.block_file) << c.line;
        EXPECT_EQ(line.warning, c.warning) << c.line;
    }
}

TEST(NodeProgress, FollowsARunFromStartToSyncedWithOneEventPerChange) {
    Watch watch;
    watch.now = at("2025-07-16T04:00:00Z");
    EXPECT_EQ(watch.tooltip(), "State unknown: nothing read from the node's log yet");
    watch.progress.node_started(watch.now);
    watch.feed({"", "2025-07-16T04:00:01Z Bitcoin Core version v29.0.0 (release build)",
                "2025-07-16T04:00:02Z init message: Loading block index…"});
    EXPECT_EQ(watch.tooltip(), "Loading blocks");
    EXPECT_EQ(watch.events(), std::vector<std::string>{"The node started loading."});
    EXPECT_TRUE(watch.events().empty());

    watch.feed(
        {"2025-07-16T04:00:30Z Loaded best chain: hashBestChain=00000000000000000001a2 "
         "height=812345 date=2023-10-16T04:00:00Z progress=0.871234",
         "2025-07-16T04:00:31Z Verifying last 6 blocks at level 3",
         "2025-07-16T04:00:32Z Verification progress: 45%"});
    EXPECT_EQ(watch.tooltip(), "Verifying blocks · 45 %");
    EXPECT_EQ(watch.events(), std::vector<std::string>{"The node is verifying its last blocks."});

    watch.feed({"2025-07-16T04:00:40Z init message: Done loading",
                "2025-07-16T04:00:41Z Synchronizing blockheaders, height: 927012 (~100.00%)",
                tip("2025-07-16T04:00:42Z", 812346, "2023-10-16T04:10:00Z", "0.871300")});
    EXPECT_EQ(watch.tooltip(),
              "Catching up · height 812,346 of ~927,012 · 87.1 % · 1 year 9 months behind");
    EXPECT_EQ(watch.events(),
              std::vector<std::string>{"The node is catching up from height 812,346."});

    watch.now = at("2025-07-16T09:12:00Z");
    watch.feed({tip("2025-07-16T09:11:58Z", 927011, "2025-07-16T09:00:00Z", "0.999990"),
                "2025-07-16T09:11:59Z Leaving InitialBlockDownload (latching to false)",
                tip("2025-07-16T09:12:00Z", 927012, "2025-07-16T09:08:00Z", "1.000000")});
    EXPECT_EQ(watch.events(),
              std::vector<std::string>{"The node caught up at height 927,012 after 5 h 12 min."});
    watch.now += 4 * minute + 10'000;
    EXPECT_EQ(watch.tooltip(), "Synced · height 927,012 · last block 4 min ago");
    EXPECT_FALSE(watch.progress.take_news().alarm);
}

TEST(NodeProgress, IsStuckOnlyByItsRules) {
    // Synced: a stale tip warning every ten minutes is normal, two hours without a block are not.
    Watch synced = synced_at_noon();
    for (const char* time : {"2025-07-16T12:40:00Z", "2025-07-16T13:20:00Z", "2025-07-16T13:50:00Z",
                             "2025-07-16T13:59:59Z"}) {
        synced.now = at(time);
        synced.feed({std::string(time) + " Potential stale tip detected, will try using extra "
                                         "outbound peer (last tip update: 2400 seconds ago)"});
        EXPECT_EQ(synced.state().condition, NodeCondition::synced) << time;
    }
    synced.now = at("2025-07-16T14:10:00Z");
    EXPECT_EQ(synced.tooltip(), "No new block for 2 h 10 min · height 927,012");
    ProgressNews news = synced.progress.take_news();
    EXPECT_EQ(news.events, std::vector<std::string>{"No new block since 13:00 (2 h 10 min); "
                                                    "height 927,012."});
    EXPECT_TRUE(news.alarm);
    synced.now += minute;
    synced.state();
    EXPECT_FALSE(synced.progress.take_news().alarm);
    synced.feed({tip("2025-07-16T14:11:00Z", 927013, "2025-07-16T14:10:30Z", "1.000000")});
    EXPECT_EQ(synced.events(), std::vector<std::string>{"New blocks again at height 927,013."});
    EXPECT_EQ(synced.state().condition, NodeCondition::synced);

    // Catching up: 30 minutes without a block, unless headers, rescans or checks go on.
    Watch catching;
    catching.now = at("2018-07-07 14:50:02");
    catching.feed({tip("2018-07-07 14:50:02", 400000, "2016-02-01 00:00:00", "0.420000")});
    catching.now = at("2018-07-07 15:10:00");
    catching.feed(
        {"2018-07-07 15:10:00 [default wallet] Still rescanning. At block 300000. "
         "Progress=0.300000"});
    catching.now = at("2018-07-07 15:39:59");
    EXPECT_EQ(catching.state().condition, NodeCondition::catching_up);
    catching.now = at("2018-07-07 15:40:00");
    EXPECT_EQ(catching.state().condition, NodeCondition::stuck);

    // A long flush: not stuck until its next line, and only the quiet after that counts.
    Watch flushing = synced_at_noon();
    flushing.now = at("2025-07-16T13:50:00Z");
    flushing.feed(
        {"2025-07-16T13:50:00Z [warning] Flushing large (5 GiB) UTXO set to disk, it "
         "may take several minutes"});
    flushing.now = at("2025-07-16T16:49:00Z");
    EXPECT_EQ(flushing.state().condition, NodeCondition::synced);
    flushing.now = at("2025-07-16T18:30:00Z");
    flushing.feed({"2025-07-16T16:49:00Z Flushed 5 GiB in 179 minutes",
                   "2025-07-16T17:40:00Z Potential stale tip detected",
                   "2025-07-16T18:30:00Z Potential stale tip detected"});
    flushing.now = at("2025-07-16T18:48:00Z");
    EXPECT_EQ(flushing.state().condition, NodeCondition::synced);
    flushing.now = at("2025-07-16T18:49:00Z");
    EXPECT_EQ(flushing.tooltip(), "No new block for 6 h 49 min · height 927,012");
    Watch endless_flush = synced_at_noon();
    endless_flush.feed(
        {"2025-07-16T12:00:00Z [warning] Flushing large (9 GiB) UTXO set to disk, "
         "it may take several minutes"});
    endless_flush.now = at("2025-07-16T15:00:00Z");
    EXPECT_EQ(endless_flush.state().stuck_reason, StuckReason::silent_log);
    EXPECT_EQ(endless_flush.state().condition, NodeCondition::stuck);

    // Any run: an hour without a line.
    Watch silent = synced_at_noon();
    silent.now = at("2025-07-16T12:59:59Z");
    EXPECT_EQ(silent.state().condition, NodeCondition::synced);
    silent.now = at("2025-07-16T13:05:00Z");
    EXPECT_EQ(silent.tooltip(), "No line in the node's log for 1 h 5 min · height 927,012");
    Watch mute;
    mute.progress.node_started(0);
    mute.now = hour;
    EXPECT_EQ(mute.state().stuck_reason, StuckReason::silent_log);
}

// What the tooltip says at the end of runs that used to read wrong.
TEST(NodeProgress, TellsTheStateAtTheEndOfEachKindOfRun) {
    const std::string version = "2025-07-16T04:00:01Z Bitcoin Core version v29.0.0 (release build)";
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::string_view now;
        std::string tooltip;
        std::string warning = {};
        std::string_view advice = {};  // a part of it
    };
    const std::string noon_tip =
        tip("2025-07-16T12:00:00Z", 927012, "2025-07-16T11:59:00Z", "1.000000");
    const std::string failing =
        "2021-05-29T17:12:39Z ERROR: ConnectTip: ConnectBlock 4396f2c7 failed, high-hash, proof of "
        "stake failed (code 16)";
    const std::vector<std::string> dead_thread = {"2025-07-16T12:00:01Z ",
                                                  "",
                                                  "************************",
                                                  "EXCEPTION: St9bad_alloc       ",
                                                  "std::bad_alloc       ",
                                                  "C:\\Node\\bitcoind.exe in msghand       ",
                                                  ""};
    const auto with = [](std::vector<std::string> lines, const std::vector<std::string>& more) {
        lines.insert(lines.end(), more.begin(), more.end());
        return lines;
    };
    const Case cases[] = {
        {"a reindex",
         {"", version, "2025-07-16T04:00:40Z init message: Done loading",
          "2025-07-16T04:01:00Z [loadblk] Reindexing block file blk00000.dat...",
          tip("2025-07-16T04:01:01Z", 0, "2009-01-03T18:15:05Z", "0.000000"),
          "2025-07-16T04:01:30Z [loadblk] Loaded 1234 blocks from external file in 5678ms",
          "2025-07-16T04:01:31Z [loadblk] Reindexing block file blk02155.dat..."},
         "2025-07-16T04:02:00Z",
         "Reindexing · block file 2,155"},
        {"a reindex of an old node, which connects blocks as it reads",
         {"", "2015-06-01 04:00:01 Bitcoin version v0.11.2",
          "2015-06-01 04:00:40 init message: Done loading",
          "2015-06-01 04:01:00 Reindexing block file blk00000.dat...",
          tip("2015-06-01 04:01:10", 1200, "2009-01-16 00:00:00", "0.000010"),
          "2015-06-01 04:01:31 Reindexing block file blk00001.dat..."},
         "2015-06-01 04:02:00",
         "Catching up · height 1,200 · 0.0 % · 6 years 4 months behind"},
        {"a snapshot chainstate at the tip, its progress wrong",
         {tip("2025-07-16T12:00:00Z", 840000, "2025-07-16T11:58:00Z", "0.015582")},
         "2025-07-16T12:01:00Z",
         "Synced · height 840,000 · last block 1 min ago"},
        {"a node that warns of unknown rules",
         {tip("2025-07-16T12:00:00Z", 927012, "2025-07-16T11:59:00Z", "1.000000") +
          " warning='Unknown new rules activated (versionbit 7)'"},
         "2025-07-16T12:01:00Z",
         "Synced · height 927,012 · last block 1 min ago",
         "The node warns: Unknown new rules activated (versionbit 7)"},
        {"a node flushing a large database for long",
         {tip("2025-07-16T10:00:00Z", 927012, "2025-07-16T09:59:00Z", "1.000000"),
          "2025-07-16T10:30:00Z [warning] Flushing large (5 GiB) UTXO set to disk, it may take "
          "several minutes"},
         "2025-07-16T12:45:00Z",
         "Synced · height 927,012 · last block 2 h 45 min ago"},
        {"a peer's invalid block, then new ones",
         {"2025-07-16T11:58:00Z [msghand] [error] ProcessNewBlock: AcceptBlock FAILED "
          "(high-hash, proof of work failed)",
          tip("2025-07-16T12:00:00Z", 927012, "2025-07-16T11:59:00Z", "1.000000")},
         "2025-07-16T12:01:00Z",
         "Synced · height 927,012 · last block 1 min ago"},
        {"0.13 with -logtimemicros",
         {tip("2017-12-14 10:02:07.123456", 400000, "2016-02-01 00:00:00", "0.420000")},
         "2017-12-14 10:03:00",
         "Catching up · height 400,000 · 42.0 % · 1 year 10 months behind"},
        {"a start that failed",
         {"", "2017-12-14 10:02:07 Bitcoin version v0.13.2",
          "2017-12-14 10:02:07 : Error loading block database.",
          "Please restart with -reindex or -reindex-chainstate to recover."},
         "2017-12-14 10:03:00",
         "Needs attention: : Error loading block database.",
         {},
         "could not open its database at start"},
        // A fork's own database, its shutdown begun in PrepareShutdown
        // (btcpayserver/btcpayserver#5036).
        {"a fork's start that failed on its own database",
         {"", "2023-06-01T10:44:09Z Dash Core version v19.1.0 (release build)",
          "2023-06-01T10:44:10Z : Error upgrading evo database.",
          "Please restart with -reindex or -reindex-chainstate to recover.",
          "2023-06-01T10:44:10Z Aborted block database rebuild. Exiting.",
          "2023-06-01T10:44:10Z PrepareShutdown: In progress...",
          "2023-06-01T10:44:10Z scheduler thread exit"},
         "2023-06-01T10:45:00Z",
         "Needs attention: : Error upgrading evo database."},
        // The same best block failing again and again, no new tip (DeFiCh/ain#459).
        {"a best block that fails three times",
         {tip("2021-05-29T17:12:00Z", 878491, "2021-05-29T17:11:00Z", "1.000000"), failing, failing,
          failing},
         "2021-05-29T17:13:00Z",
         "Needs attention: ERROR: ConnectTip: ConnectBlock 4396f2c7 failed, high-hash, proof of "
         "stake failed (code 16)"},
        {"a best block that fails twice",
         {tip("2021-05-29T17:12:00Z", 878491, "2021-05-29T17:11:00Z", "1.000000"), failing,
          failing},
         "2021-05-29T17:13:00Z",
         "Synced · height 878,491 · last block 1 min ago"},
        {"failures with a new tip between",
         {failing, failing, tip("2021-05-29T17:12:40Z", 878492, "2021-05-29T17:12:00Z", "1.000000"),
          failing},
         "2021-05-29T17:13:00Z",
         "Synced · height 878,492 · last block 20 s ago"},
        // A thread that died: PrintExceptionContinue's lines, "<program> in <thread>"
        // (bitcoin/bitcoin src/util/exception.cpp), then only a stale tip.
        {"a thread that died",
         with({noon_tip}, with(dead_thread, {"2025-07-16T12:40:00Z Potential stale tip detected, "
                                             "will try using extra outbound peer (last tip "
                                             "update: 2400 seconds ago)"})),
         "2025-07-16T12:45:00Z",
         "Needs attention: EXCEPTION: St9bad_alloc std::bad_alloc C:\\Node\\bitcoind.exe in "
         "msghand",
         {},
         "Restart the node"},
        {"a thread that died, then new blocks",
         with({noon_tip}, with(dead_thread, {tip("2025-07-16T12:05:00Z", 927013,
                                                 "2025-07-16T12:04:00Z", "1.000000")})),
         "2025-07-16T12:06:00Z", "Synced · height 927,013 · last block 1 min ago"},
        {"an exception the node caught",
         {noon_tip, "2025-07-16T12:00:01Z ", "EXCEPTION: St9bad_alloc       ",
          "std::bad_alloc       ", "bitcoin in ProcessMessages()       "},
         "2025-07-16T12:01:00Z",
         "Synced · height 927,012 · last block 1 min ago"},
        // bitcoin/bitcoin#17144 (Windows), dogecoin/dogecoin#1779.
        {"a block file that cannot be read",
         {noon_tip,
          "2025-07-16T12:00:30Z ERROR: ReadBlockFromDisk: Errors in block header at "
          "FlatFilePos(nFile=240, nPos=10406780)",
          "2025-07-16T12:00:30Z *** Failed to read block"},
         "2025-07-16T12:01:00Z",
         "Needs attention: *** Failed to read block",
         {},
         "Once the drive is sound, start the node once by hand with -reindex"},
        {"a fork's tracing log",
         {"2022-11-30T18:38:33.581712Z  INFO ProcessNewBlock: main: UpdateTip: new best "
          "hash=000000000141dde0 height=1896913 bits=469870521 log2_work=59.507779 tx=11940448 "
          "date=2022-11-30 18:38:31 progress=0.999968 cache=3.3MiB(490tx)"},
         "2022-11-30T18:39:00Z",
         "Synced · height 1,896,913 · last block 26 s ago"},
    };
    for (const Case& c : cases) {
        Watch watch;
        watch.now = at(c.now);
        watch.feed(c.lines);
        EXPECT_EQ(watch.tooltip(), c.tooltip) << c.name;
        EXPECT_EQ(warning_tooltip(watch.state()), c.warning) << c.name;
        EXPECT_NE(watch.state().advice.find(c.advice), std::string::npos)
            << c.name << ": " << watch.state().advice;
    }
}

TEST(NodeProgress, TellsEachWarningOncePerRunWhileItHolds) {
    Watch watch = synced_at_noon();
    const auto warned_tip = [](int height, int unexpected) {
        return tip("2025-07-16T12:10:00Z", height, "2025-07-16T12:09:00Z", "1.000000") +
               " warning='" + std::to_string(unexpected) +
               " of last 100 blocks have unexpected version'";
    };
    watch.feed({warned_tip(927013, 44), warned_tip(927014, 45)});
    EXPECT_EQ(watch.progress.take_news().warnings,
              std::vector<std::string>{"44 of last 100 blocks have unexpected version"});
    EXPECT_EQ(watch.state().warning, "45 of last 100 blocks have unexpected version");
    watch.feed({tip("2025-07-16T12:20:00Z", 927015, "2025-07-16T12:19:00Z", "1.000000")});
    EXPECT_EQ(watch.state().warning, "") << "no longer on the node's UpdateTip lines";
    watch.feed({"", "2025-07-16T13:00:00Z Bitcoin Core version v29.0.0 (release build)",
                warned_tip(927016, 46)});
    EXPECT_EQ(watch.progress.take_news().warnings,
              std::vector<std::string>{"46 of last 100 blocks have unexpected version"})
        << "told again in the next run";
}

TEST(NodeProgress, TakesAReorganisationWithoutCountingItAsANewBlock) {
    Watch watch = synced_at_noon();
    watch.now = at("2025-07-16T12:30:00Z");
    watch.feed({tip("2025-07-16T12:30:00Z", 927011, "2025-07-16T11:50:00Z", "1.000000"),
                tip("2025-07-16T12:30:00Z", 927012, "2025-07-16T12:20:00Z", "1.000000")});
    EXPECT_EQ(watch.state().height, 927012);
    EXPECT_EQ(watch.state().last_block_ago_ms, 30 * minute);
    EXPECT_TRUE(watch.events().empty());
    watch.feed({tip("2025-07-16T12:30:00Z", 927011, "2025-07-16T11:50:00Z", "1.000000")});
    EXPECT_EQ(watch.tooltip(), "Synced · height 927,011 · last block 30 min ago");
}

// The PC slept from 12:00 to 21:00: the node wrote nothing meanwhile, which
// is not its fault; the quiet counts from the wake.
TEST(NodeProgress, AWakeFromSleepRestartsTheQuiet) {
    Watch watch = synced_at_noon();
    watch.now = at("2025-07-16T21:00:00Z");
    watch.progress.woke(watch.now);
    EXPECT_NE(watch.state().condition, NodeCondition::stuck);
    watch.now = at("2025-07-16T21:59:59Z");
    EXPECT_NE(watch.state().condition, NodeCondition::stuck);
    watch.now = at("2025-07-16T22:00:00Z");
    EXPECT_EQ(watch.tooltip(), "No line in the node's log for 1 h · height 927,012");
    Watch slept = synced_at_noon();  // no wake told: nine hours of quiet
    slept.now = at("2025-07-16T21:00:00Z");
    EXPECT_EQ(slept.state().stuck_reason, StuckReason::silent_log);
    EXPECT_EQ(slept.state().condition, NodeCondition::stuck);
}

TEST(NodeProgress, StaysSaneWhenTheClockJumps) {
    Watch watch = synced_at_noon();
    watch.now -= 24 * hour;
    const NodeProgressState& back = watch.state();
    EXPECT_EQ(back.condition, NodeCondition::synced);
    EXPECT_EQ(back.last_block_ago_ms, 0);
    EXPECT_EQ(back.behind_ms, 0);
    // What was seen "in the future" counts as seen at the new time.
    watch.now += 59 * minute;
    EXPECT_EQ(watch.state().condition, NodeCondition::synced);
    watch.now += 2 * minute;
    EXPECT_EQ(watch.state().condition, NodeCondition::stuck);
}

TEST(NodeProgress, NeedsAttentionForAFatalLineUntilTheNextRun) {
    Watch watch = synced_at_noon();
    const std::string error = "Error: " + std::string(150, 'x');
    watch.feed({"2025-07-16T12:00:01Z " + error, "2025-07-16T12:00:02Z Shutdown in progress..."});
    EXPECT_EQ(watch.tooltip(), "Needs attention: " + error.substr(0, 99) + "…");
    ProgressNews news = watch.progress.take_news();
    EXPECT_EQ(news.events, std::vector<std::string>{"The node's log shows an error: " + error});
    EXPECT_TRUE(news.alarm);
    watch.feed({"", "2025-07-16T12:05:00Z Bitcoin Core version v29.0.0 (release build)"});
    EXPECT_EQ(watch.tooltip(), "Starting");

    Watch stopping = synced_at_noon();
    stopping.feed({"2025-07-16T12:00:02Z Shutdown: In progress..."});
    EXPECT_EQ(stopping.tooltip(), "Stopping…");
}

TEST(NodeProgress, SaysWhyTheStateIsUnknown) {
    Watch watch;
    watch.feed({});
    EXPECT_EQ(watch.tooltip(), "State unknown: the node has written nothing to its log");
    watch.feed({"garbage \x01\xff", "more garbage"});
    EXPECT_EQ(watch.state().unknown_reason, UnknownReason::unknown_format);
    watch.feed({"2025-07-16T12:00:00Z [net] New outbound peer connected"});
    EXPECT_EQ(watch.state().unknown_reason, UnknownReason::no_progress_yet);
    watch.progress.read_failed("C:\\Node\\debug.log is in use", watch.now);
    EXPECT_EQ(watch.tooltip(), "State unknown: C:\\Node\\debug.log is in use");
}

TEST(NodeProgress, LeavesOutTheEarlierRunAtTheEndOfTheLogWhenTheNodeStarts) {
    Watch watch;
    watch.now = at("2025-07-16T12:00:00Z");
    watch.progress.node_started(watch.now);
    watch.feed({"2025-07-15T20:00:00Z Error: Disk space is too low!",
                "2025-07-15T20:00:01Z Shutdown: In progress..."});
    EXPECT_EQ(watch.tooltip(), "Starting");
}

TEST(TaskbarProgress, ShowsTheSyncAndWhatNeedsALook) {
    NodeProgressState state;
    const auto mark = [&](NodeCondition condition, bool waiting = false) {
        state.condition = condition;
        return taskbar_progress(state, waiting);
    };
    EXPECT_EQ(mark(NodeCondition::synced).mark, TaskbarMark::none);
    EXPECT_EQ(mark(NodeCondition::unknown).mark, TaskbarMark::none);
    EXPECT_EQ(mark(NodeCondition::starting).mark, TaskbarMark::indeterminate);
    EXPECT_EQ(mark(NodeCondition::catching_up).mark, TaskbarMark::indeterminate);
    EXPECT_EQ(mark(NodeCondition::stuck).value, 1000);
    state.sync_progress = 0.9325;
    EXPECT_EQ(mark(NodeCondition::catching_up).mark, TaskbarMark::normal);
    EXPECT_EQ(mark(NodeCondition::catching_up).value, 932);
    EXPECT_EQ(mark(NodeCondition::needs_attention).mark, TaskbarMark::error);
    EXPECT_EQ(mark(NodeCondition::synced, true).mark, TaskbarMark::paused);
}

TEST(ProgressText, WritesNumbersAndDelaysForPeople) {
    EXPECT_EQ(with_thousands(0), "0");
    EXPECT_EQ(with_thousands(999), "999");
    EXPECT_EQ(with_thousands(1000), "1,000");
    EXPECT_EQ(with_thousands(1234567), "1,234,567");
    constexpr std::int64_t day = 24 * hour;
    EXPECT_EQ(behind_text(-5), "less than a minute");
    EXPECT_EQ(behind_text(minute), "1 minute");
    EXPECT_EQ(behind_text(5 * hour + 59 * minute), "5 hours");
    EXPECT_EQ(behind_text(3 * day), "3 days");
    EXPECT_EQ(behind_text(64 * day), "2 months");
    EXPECT_EQ(behind_text(365 * day), "1 year");
    EXPECT_EQ(behind_text(430 * day), "1 year 2 months");
}

}  // namespace
}  // namespace zvkob
