// Care while the node syncs: when the PC is kept awake, the disk's runway,
// wallet backups and the node's warnings.
#include <gtest/gtest.h>

#include "core/care/block_files.hpp"
#include "core/care/disk_runway.hpp"
#include "core/care/keep_awake.hpp"
#include "core/power/power_awake.hpp"
#include "guardian/flows/neighbour_events.hpp"
#include "core/care/node_warnings.hpp"
#include "core/care/wallet_backup.hpp"
#include "fakes.hpp"
#include "guardian/flows/wallet_backup_events.hpp"
#include "main_window/window_menu.hpp"
#include "main_window/starting/launcher.hpp"
#include "main_window/load_unload.hpp"
#include "guardian/flows/node_care.hpp"
#include "guardian/flows/node_glance_events.hpp"
#include "guardian/care/antivirus_hint.hpp"
#include "watched_window.hpp"

namespace zvkob {
namespace {

constexpr std::int64_t minute = 60'000;
constexpr std::int64_t hour = 60 * minute;
constexpr std::int64_t day = 24 * hour;
constexpr std::uint64_t gb = 1'000'000'000;

using Action = AwakeStep::Action;
using testing::CallLog;

AwakeFacts catching_up(std::int64_t height) {
    return {.ticked = true,
            .node_runs = true,
            .condition = NodeCondition::catching_up,
            .height = height};
}

TEST(KeepAwake, HoldsWhileCatchingUpAndTellsEachEndOnce) {
    struct Case {
        const char* name;
        AwakeFacts end;
        std::string event;
    };
    AwakeFacts synced = catching_up(5);
    synced.condition = NodeCondition::synced;
    AwakeFacts stuck = catching_up(5);
    stuck.condition = NodeCondition::stuck;
    AwakeFacts off = catching_up(5);
    off.ticked = false;
    AwakeFacts stopped = catching_up(5);
    stopped.node_runs = false;
    AwakeFacts closing = catching_up(5);
    closing.closing = true;
    const Case cases[] = {
        {"synced", synced, "ZV-KOB lets the PC sleep again: the node is synced."},
        {"stuck", stuck, "ZV-KOB lets the PC sleep again: the node seems stuck."},
        {"off", off,
         "ZV-KOB lets the PC sleep again: Keep the PC Awake While Catching Up was switched off."},
        {"stopped", stopped, "ZV-KOB lets the PC sleep again: the node has stopped."},
        {"closing", closing, "ZV-KOB lets the PC sleep again: ZV-KOB closes."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KeepAwake awake;
        const AwakeStep held = awake.update(catching_up(812345), 0);
        EXPECT_EQ(held.action, Action::hold);
        EXPECT_EQ(held.reason,
                  "ZV-KOB keeps this PC awake while the node catches up (block 812,345)");
        EXPECT_EQ(awake.update(catching_up(812345), minute).action, Action::none);
        const AwakeStep let_go = awake.update(c.end, 2 * minute);
        EXPECT_EQ(let_go.action, Action::let_go);
        EXPECT_EQ(let_go.event, c.event);
        EXPECT_EQ(awake.update(c.end, 3 * minute).action, Action::none);
    }
    AwakeFacts synced_at_start = synced;
    EXPECT_EQ(KeepAwake().update(synced_at_start, 0).action, Action::none);
    EXPECT_EQ(KeepAwake().update(off, 0).action, Action::none);
}

TEST(KeepAwake, RefreshesItsReasonAtMostEveryTenMinutesAndBearsAShortUnknown) {
    KeepAwake awake;
    awake.update(catching_up(100), 0);
    EXPECT_EQ(awake.update(catching_up(200), 9 * minute).action, Action::none);
    const AwakeStep refreshed = awake.update(catching_up(300), 10 * minute);
    EXPECT_EQ(refreshed.action, Action::refresh);
    EXPECT_EQ(refreshed.reason, "ZV-KOB keeps this PC awake while the node catches up (block 300)");

    AwakeFacts unknown = catching_up(300);
    unknown.condition = NodeCondition::unknown;
    EXPECT_EQ(awake.update(unknown, 11 * minute).action, Action::none);
    EXPECT_EQ(awake.update(unknown, 20 * minute).action, Action::none);
    const AwakeStep let_go = awake.update(unknown, 21 * minute);
    EXPECT_EQ(let_go.action, Action::let_go);
    EXPECT_EQ(let_go.event,
              "ZV-KOB lets the PC sleep again: nothing has been known of the node "
              "for 10 minutes.");
}

TEST(KeepAwake, ARefusedHoldIsNotAskedAgainNorItsEndTold) {
    KeepAwake awake;
    awake.update(catching_up(1), 0);
    awake.hold_refused();
    EXPECT_EQ(awake.update(catching_up(2), hour).action, Action::none);
    AwakeFacts synced = catching_up(3);
    synced.condition = NodeCondition::synced;
    EXPECT_EQ(awake.update(synced, 2 * hour).event, "");
    EXPECT_EQ(awake.update(catching_up(4), 3 * hour).action, Action::hold);
    EXPECT_EQ(holding_event("by a power request", ""),
              "ZV-KOB keeps the PC awake while the node catches up (by a power request).");
}

TEST(DiskRunway, TellsTheDaysLeftFromAnHourOfGrowthOnward) {
    DiskRunway runway;
    // 600 GB node growing 2 GB a day, 20 GB free: 10 days.
    const auto at = [](std::int64_t ms, double grown_gb, std::uint64_t free = 20 * gb) {
        return DiskSample{ms, 600 * gb + static_cast<std::uint64_t>(grown_gb * 1e9), free};
    };
    for (std::int64_t t = 0; t < hour; t += minute) {
        runway.add(at(t, 2.0 * static_cast<double>(t) / day));
    }
    EXPECT_EQ(runway.days_left(), std::nullopt) << "less than an hour of samples";
    runway.add(at(hour, 2.0 / 24));
    ASSERT_TRUE(runway.days_left());
    EXPECT_NEAR(*runway.days_left(), 10.0, 0.01);
    EXPECT_EQ(runway.tooltip_line(), "Disk full in about 10 days");
    EXPECT_EQ(runway.take_notice(), std::nullopt);

    runway.add(at(2 * hour, 4.0 / 24, 1 * gb));  // 1 GB left at 2 GB a day
    const auto notice = runway.take_notice();
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->text,
              "The node's drive will be full in less than a day at its growth of "
              "the last hours. Free some space, or move the node's data folder.");
    EXPECT_EQ(notice->event,
              "The node's drive will be full in less than a day: 1.0 GB free, the "
              "node holds 600.2 GB.");
    runway.add(at(3 * hour, 6.0 / 24, 10 * gb));
    EXPECT_EQ(runway.take_notice(), std::nullopt) << "told once until it recovers past 14 days";
    runway.add(at(4 * hour, 8.0 / 24, 40 * gb));
    EXPECT_EQ(runway.take_notice(), std::nullopt);
    runway.add(at(5 * hour, 10.0 / 24, 2 * gb));
    EXPECT_TRUE(runway.take_notice());

    runway.add(at(6 * hour, 0));  // shrank
    EXPECT_EQ(runway.tooltip_line(), "");
    DiskSample pruned = at(7 * hour, 50);
    pruned.pruned = true;
    runway.add(pruned);
    runway.add(at(9 * hour, 60));
    EXPECT_EQ(runway.days_left(), std::nullopt) << "samples from before the pruned node are gone";
}

// Each limit at its edge: 60 days for the tooltip, 7 for the notice, 14 to
// tell it again; "1 day", "less than a day"; no growth, or two samples at
// one moment, give no runway; a clock gone back makes a scan due.
TEST(DiskRunway, HoldsEachLimitAtItsEdge) {
    const auto runway_of = [](double free_gb) {  // 1 GB a day
        DiskRunway runway;
        runway.add({0, 600 * gb, 0});
        runway.add({day, 601 * gb, static_cast<std::uint64_t>(free_gb * 1e9)});
        return runway;
    };
    EXPECT_EQ(runway_of(60).tooltip_line(), "");
    EXPECT_EQ(runway_of(59.9).tooltip_line(), "Disk full in about 59 days");
    EXPECT_EQ(runway_of(7).take_notice(), std::nullopt);
    EXPECT_TRUE(runway_of(6.9).take_notice());
    DiskRunway told = runway_of(1);
    ASSERT_TRUE(told.take_notice());
    told.add({2 * day, 602 * gb, 14 * gb});
    EXPECT_EQ(told.take_notice(), std::nullopt);
    told.add({3 * day, 603 * gb, 1 * gb});
    EXPECT_EQ(told.take_notice(), std::nullopt) << "14 days is not past 14";
    EXPECT_EQ(runway_words(0.99), "less than a day");
    EXPECT_EQ(runway_words(1), "about 1 day");
    EXPECT_EQ(runway_words(2), "about 2 days");

    DiskRunway flat;
    flat.add({0, 600 * gb, gb});
    flat.add({day, 600 * gb, gb});
    EXPECT_EQ(flat.days_left(), std::nullopt) << "no growth";
    DiskRunway same_moment;
    same_moment.add({0, 600 * gb, gb});
    same_moment.add({hour, 601 * gb, gb});
    same_moment.add({hour, 601 * gb, gb});
    EXPECT_TRUE(same_moment.days_left()) << "a sample at the same moment is not a clock gone back";
    EXPECT_TRUE(folder_scan_due(hour, 0)) << "the clock went back";
    EXPECT_FALSE(folder_scan_due(hour, hour));
}

TEST(DiskRunway, KeepsADayOfSpacedSamplesAndScansTheFolderHourly) {
    DiskRunway runway;
    for (std::int64_t t = 0; t <= 3 * day; t += 10'000) {
        runway.add({t, static_cast<std::uint64_t>(t), 1'000'000'000'000});
    }
    ASSERT_TRUE(runway.days_left());  // a byte a ms: 86.4 MB a day
    EXPECT_NEAR(*runway.days_left(), 1e12 / 86.4e6, 0.01);
    EXPECT_TRUE(folder_scan_due(std::nullopt, 0));
    EXPECT_FALSE(folder_scan_due(0, hour - 1));
    EXPECT_TRUE(folder_scan_due(0, hour));
}

TEST(WalletBackup, NamesEachFileSafelyAndFindsTheLastBackupInTheHistory) {
    const LocalTime at{2026, 12, 8, 9, 45, 12, 60};
    const std::pair<std::string, std::string> names[] = {
        {"", "default-2026-12-08-094512.dat"},
        {"savings", "savings-2026-12-08-094512.dat"},
        {"C:\\wallets\\cold", "C__wallets_cold-2026-12-08-094512.dat"},
        {"a/b:*?\"<>|. ", "a_b_______-2026-12-08-094512.dat"},
        {std::string(120, 'w'), std::string(100, 'w') + "-2026-12-08-094512.dat"},
    };
    for (const auto& [wallet, file] : names) {
        EXPECT_EQ(backup_file_name(wallet, at), file);
    }
    EXPECT_EQ(backup_destination("D:\\Backups\\", "x.dat"), "D:\\Backups\\x.dat");
    EXPECT_EQ(backup_destination("D:\\Backups", "x.dat"), "D:\\Backups\\x.dat");

    const WalletBackup backups[] = {
        {"", "D:\\B\\default-2026-12-08-094512.dat", ""},
        {"cold", "D:\\B\\cold-2026-12-08-094512.dat", "Error: Wallet backup failed!"},
        {"hot", "D:\\B\\hot-2026-12-08-094512.dat", "nothing listens on the node's RPC port 8332",
         WalletBackup::Why::not_asked},
        {"big", "D:\\B\\big-2026-12-08-094512.dat", "no answer within 5 min (timed out)",
         WalletBackup::Why::no_answer},
    };
    EXPECT_EQ(backup_message("D:\\B", backups),
              "Wallet backup to D:\\B:\n\nthe default wallet: written as "
              "default-2026-12-08-094512.dat\nwallet \"cold\": not written. The node says: "
              "Error: Wallet backup failed!\nwallet \"hot\": not written (as "
              "hot-2026-12-08-094512.dat): nothing listens on the node's RPC port 8332\nwallet "
              "\"big\": asked to be written as big-2026-12-08-094512.dat; no answer within 5 min "
              "(timed out), so ZV-KOB cannot tell whether it was");
    std::vector<std::string> events;
    for (const WalletBackup& backup : backups) {
        events.push_back(backup_event(backup));
    }
    EXPECT_EQ(events[1],
              "Wallet backup failed: wallet \"cold\" to "
              "D:\\B\\cold-2026-12-08-094512.dat: Error: Wallet backup failed!");
    EXPECT_EQ(events[3],
              "Wallet backup not confirmed: wallet \"big\" to "
              "D:\\B\\big-2026-12-08-094512.dat: no answer within 5 min (timed out)");

    const std::string history =
        "2026-01-02T03:04:05+01:00 ZV-KOB 1.0 opened (copy A).\n"
        "2026-01-02T03:05:00+01:00 " +
        events[0] +
        "\r\n"
        "2026-01-02T03:06:00+01:00 " +
        events[1] + "\n" + "2026-01-02T03:07:00+01:00 " + events[3] + "\n";
    const std::int64_t jan_2_utc = 1767312000000;  // 2026-01-02T00:00:00Z
    EXPECT_EQ(last_backup_in(history), jan_2_utc + 2 * hour + 5 * minute);
    EXPECT_EQ(last_backup_in("2026-01-02T03:06:00+01:00 ZV-KOB closed by the user."), std::nullopt);

    testing::FakeFileSystem files;
    files.log_end.text = history;
    EXPECT_EQ(last_backup_recorded(files, "C:\\h\\A.log"), jan_2_utc + 2 * hour + 5 * minute);
    EXPECT_EQ(backup_reminder(jan_2_utc, jan_2_utc + 90 * day), "");
    EXPECT_EQ(backup_reminder(jan_2_utc, jan_2_utc + 91 * day), "Last wallet backup 91 days ago");
    EXPECT_EQ(backup_reminder(std::nullopt, 0), "No wallet backup recorded");
}

// The history's stamps are read as the calendar has them (leap days,
// centuries, offsets either way, a backup on its first line), odd stamps not
// at all; a long name is cut between UTF-8 characters, never inside one; an
// error is shown up to 300 characters.
TEST(WalletBackup, ReadsEachStampAsTheCalendarHasItAndCutsBetweenCharacters) {
    const std::string written = " Wallet backup written: the default wallet to D:\\x.dat";
    const std::pair<const char*, std::optional<std::int64_t>> stamps[] = {
        {"1969-12-31T23:00:00-01:00", 0},
        {"1999-12-31T23:59:59+00:00", 946684799000},
        {"2000-02-29T12:00:00-05:30", 951845400000},
        {"2100-03-01T00:00:00+14:00", 4107492000000},
        {"2024-03-01T00:00:00+01:00", 1709247600000},
        {"2023-12-31T10:11:12+12:45", 1703971572000},
        {"2026-00-10T10:00:00+01:00", std::nullopt},
        {"2026-13-10T10:00:00+01:00", std::nullopt},
        {"2026-01-00T10:00:00+01:00", std::nullopt},
        {"2026-01-32T10:00:00+01:00", std::nullopt},
        {"2026-01-10T10:00:00Z01:00", std::nullopt},
    };
    for (const auto& [stamp, ms] : stamps) {
        EXPECT_EQ(last_backup_in(stamp + written), ms) << stamp;
    }
    const LocalTime at{2026, 12, 8, 9, 45, 12, 60};
    EXPECT_EQ(backup_file_name(std::string(99, 'w') + "\xC3\xA9x", at),
              std::string(99, 'w') + "-2026-12-08-094512.dat");
    EXPECT_EQ(backup_file_name(std::string(98, 'w') + "\xC3\xA9x", at),
              std::string(98, 'w') + "\xC3\xA9-2026-12-08-094512.dat");
    EXPECT_TRUE(may_name_one_file("\xC3\x80.dat", "\xC3\x81.dat")) << "beyond ASCII: may be one";
    EXPECT_FALSE(
        may_name_one_file("\xC3\x80"
                          "a.dat",
                          "\xC3\x81.dat"));
    for (const std::size_t length : {300U, 301U}) {
        const std::string error(length, 'e');
        EXPECT_EQ(backup_event({"", "D:\\x.dat", error}).find(error) != std::string::npos,
                  length == 300)
            << length;
    }
}

// Every wallet of one backup gets a file of its own, never one already in
// the folder, as Windows compares names: without regard to case, and with any
// character beyond ASCII taken for one that may equal another.
TEST(WalletBackup, EachWalletGetsAFileOfItsOwnNeverOneAlreadyThere) {
    const LocalTime at{2026, 12, 8, 9, 45, 12, 60};
    const auto file = [](const std::string& stem, const char* tail = "") {
        return stem + "-2026-12-08-094512" + tail + ".dat";
    };
    const std::string w99(99, 'w');
    struct Case {
        const char* what;
        std::vector<std::string> wallets;
        std::vector<std::string> present;
        std::vector<std::string> files;
    };
    const Case cases[] = {
        {"the default wallet and one named so",
         {"", "default"},
         {},
         {file("default"), file("default", "-2")}},
        {"forbidden characters",
         {"a/b", "a:b", "a_b"},
         {},
         {file("a_b"), file("a_b", "-2"), file("a_b", "-3")}},
        {"case", {"Cold", "cold"}, {}, {file("Cold"), file("cold", "-2")}},
        {"after the cut", {w99 + "wx", w99 + "wy"}, {}, {file(w99 + "w"), file(w99 + "w", "-2")}},
        {"at the last byte kept", {w99 + "x", w99 + "y"}, {}, {file(w99 + "x"), file(w99 + "y")}},
        {"trailing dots and spaces",
         {"a", "a.", "a "},
         {},
         {file("a"), file("a", "-2"), file("a", "-3")}},
        {"in the folder, in another case",
         {"x"},
         {file("X"), file("x", "-2"), "x"},
         {file("x", "-3")}},
        {"beyond ASCII", {"\xC3\xA9"}, {file("\xC3\x89")}, {file("\xC3\xA9", "-2")}},
        {"a second earlier", {"x"}, {"x-2026-12-08-094511.dat"}, {file("x")}},
        {"a name one longer", {"x"}, {file("xx"), file("\xC3\xA9x")}, {file("x")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto planned = planned_backups("D:\\B", c.wallets, at, c.present);
        ASSERT_EQ(planned.size(), c.files.size());
        for (std::size_t i = 0; i < planned.size(); ++i) {
            EXPECT_EQ(planned[i].wallet, c.wallets[i]);
            EXPECT_EQ(planned[i].destination, "D:\\B\\" + c.files[i]);
        }
    }
    EXPECT_TRUE(may_name_one_file("Ab.dat", "aB.DAT"));
    EXPECT_FALSE(may_name_one_file("ab.dat", "ac.dat"));
    EXPECT_FALSE(may_name_one_file("ab.dat", "ab.dat2"));
    EXPECT_TRUE(may_name_one_file("\xC4\xB1.dat", "I.dat")) << "a dotless i may be an I";
    EXPECT_FALSE(may_name_one_file("\xC4\xB1.dat", "II.dat"));
}

TEST(NodeWarnings, TellsEachWarningOncePerRunFromRpcOrLog) {
    NodeWarnings warnings;
    EXPECT_EQ(warnings.heard("Unknown new rules activated (versionbit 28)"),
              "The node warns: Unknown new rules activated (versionbit 28). Newer versions of the "
              "node may be needed.");
    EXPECT_EQ(warnings.heard("Warning: unknown new rules activated (versionbit 28)"), std::nullopt);
    EXPECT_EQ(warnings.heard(""), std::nullopt);
    EXPECT_EQ(warnings.heard("This version is obsolete; upgrade required!"),
              "The node warns: This version is obsolete; upgrade required! Newer versions of the "
              "node may be needed.");
    EXPECT_EQ(warnings.heard("This is a pre-release test build"),
              "The node warns: This is a pre-release test build");
    warnings.node_started();
    EXPECT_TRUE(warnings.heard("Unknown new rules activated (versionbit 28)"));

    // Spaces and line ends around it go; its figures, and the case of its
    // letters, do not make another warning; 160 characters are shown; a node
    // that keeps inventing new warnings is told of 16.
    NodeWarnings shapes;
    EXPECT_EQ(shapes.heard(" \tWarning: Rule A0 Z9 \t\r\n"), "The node warns: Rule A0 Z9");
    EXPECT_EQ(shapes.heard("   rule a9 z0"), std::nullopt);
    EXPECT_TRUE(shapes.heard("rule a/ z:")) << "no figures, another warning";
    EXPECT_EQ(shapes.heard(std::string(160, 'w')), "The node warns: " + std::string(160, 'w'));
    EXPECT_NE(shapes.heard(std::string(161, 'v')), "The node warns: " + std::string(161, 'v'));
    NodeWarnings many;
    for (int told = 0; told < 16; ++told) {
        EXPECT_TRUE(many.heard(std::string(static_cast<std::size_t>(told) + 1, 'x'))) << told;
    }
    EXPECT_EQ(many.heard("one more"), std::nullopt);
}

// The window's side of care, with a DAEMON node of this copy started by
// LAUNCH on D:\Chain and read every two seconds.
struct CaredFor : testing::LaunchedDaemon {
    using LaunchedDaemon::LaunchedDaemon;
    // The node's log says it is at this height, `behind` its tip.
    void logs(int height, const char* progress, const char* warning = nullptr) {
        files.growing_log +=
            "2027-01-15T07:59:00Z UpdateTip: new best=00ab height=" + std::to_string(height) +
            " version=0x20000000 log2_work=95.6 tx=1 date='2026-01-15 07:59:00' "
            "progress=" +
            progress + " cache=1.0MiB(1txo)" +
            (warning ? std::string(" warning='") + warning + "'" : "") + "\n";
    }
    void tick() { w.progress_timer.tick(); }
    std::string tip() const { return w.daemon.status.label().tooltip(); }
};

TEST(CareOfTheNode, HoldsThePcAwakeWhileCatchingUpAndLetsGoOnEveryWayOut) {
    const std::string held =
        "hold awake: ZV-KOB keeps this PC awake while the node catches up (block 800,000)";
    struct WayOut {
        const char* name;
        std::function<void(CaredFor&)> take;
        const char* event;
    };
    const WayOut ways[] = {
        {"the tick off", [](CaredFor& f) { keep_awake_clicked(f.w); },
         "Keep the PC Awake While Catching Up was switched off"},
        {"the node stopped", [](CaredFor& f) { f.watch(false, false), f.tick(); },
         "the node has stopped"},
        {"ZV-KOB closes", [](CaredFor& f) { (void)unload_main_window(f.w); }, "ZV-KOB closes"},
    };
    for (const WayOut& way : ways) {
        SCOPED_TRACE(way.name);
        CaredFor f({"KEEP_AWAKE"});
        f.logs(800000, "0.900000");
        f.tick();
        f.tick();
        EXPECT_EQ(testing::calls_starting(f.take_log(), "hold awake"), CallLog{held}) << "once";
        EXPECT_TRUE(f.history.holds(
            "ZV-KOB keeps the PC awake while the node catches up (by a power request)."));
        way.take(f);
        EXPECT_EQ(testing::calls_starting(f.take_log(), "let the PC sleep"),
                  CallLog{"let the PC sleep"});
        EXPECT_TRUE(f.history.holds(std::string("ZV-KOB lets the PC sleep again: ") + way.event))
            << f.history.events.back();
    }
    CaredFor off;  // not ticked: never held
    off.logs(800000, "0.900000");
    off.tick();
    EXPECT_EQ(testing::calls_starting(off.take_log(), "hold awake"), CallLog{});
}

// With the battery stop on, Keep the PC Awake lets go on battery, says so,
// and holds again on mains power; with it off, the battery is not read.
TEST(CareOfTheNode, LetsThePcSleepOnBatteryWhileTheBatteryStopIsOn) {
    for (const bool battery_stop : {true, false}) {
        CaredFor f =
            battery_stop ? CaredFor({"KEEP_AWAKE", "BATTERY_STOP"}) : CaredFor({"KEEP_AWAKE"});
        f.logs(800000, "0.900000");
        f.tick();
        f.power_source.reading = {
            .line = PowerLine::battery, .battery_present = true, .percent = 90};
        power_broadcast(f.w.engine, {PowerEvent::Kind::line_changed, PowerLine::battery});
        f.tick();
        const CallLog on_battery = f.take_log();
        EXPECT_EQ(testing::calls_starting(on_battery, "let the PC sleep").size(),
                  battery_stop ? 1U : 0U);
        EXPECT_EQ(f.history.holds(awake_on_battery_event), battery_stop);
        f.power_source.reading.line = PowerLine::mains;
        power_broadcast(f.w.engine, {PowerEvent::Kind::line_changed, PowerLine::mains});
        f.tick();
        EXPECT_EQ(testing::calls_starting(f.take_log(), "hold awake").size(),
                  battery_stop ? 1U : 0U)
            << "held again on mains";
    }
}

TEST(CareOfTheNode, TellsTheDrivesRunwayAndEachWarningOnce) {
    CaredFor f({"NOTIFICATION_AREA"});
    f.files.free.bytes = 60 * gb;
    f.files.folder_bytes.bytes = 600 * gb;
    f.tick();
    f.clock.advance(30 * minute);
    f.tick();
    EXPECT_EQ(f.files.folder_walks, 1) << "the data folder is walked hourly at most";
    f.clock.advance(30 * minute);
    f.files.folder_bytes.bytes += gb / 2;  // 12 GB a day: 5 days left
    f.tick();
    EXPECT_NE(f.tip().find("Disk full in about 5 days"), std::string::npos) << f.tip();
    EXPECT_TRUE(
        f.history.holds("The node's drive will be full in about 5 days: 60.0 GB free, "
                        "the node holds 600.5 GB."));
    const CallLog notices = testing::calls_starting(f.tray_area.take(), "notify");
    EXPECT_EQ(
        std::count(notices.begin(), notices.end(), "notify ZV-KOB: the node's drive is filling up"),
        1);

    node_size_heard(f.w.engine, 650 * gb, false);  // its own size_on_disk: not the folder's measure
    f.clock.advance(5 * minute);
    f.tick();
    EXPECT_EQ(f.tip().find("Disk full"), std::string::npos) << "another measure: begun afresh";
    EXPECT_EQ(f.files.folder_walks, 2) << "not walked while the node tells its size";
    node_size_heard(f.w.engine, 650 * gb, true);
    EXPECT_EQ(f.tip().find("Disk full"), std::string::npos) << "a pruned node has no runway";

    f.logs(900000, "1.000000", "Unknown new rules activated (versionbit 7)");
    f.tick();
    node_warned(f.w.engine, "Warning: unknown new rules activated (versionbit 7)");  // its RPC too
    const std::string told =
        "The node warns: Unknown new rules activated (versionbit 7). Newer versions of the node "
        "may be needed.";
    EXPECT_EQ(f.history.count(told), 1U);
    EXPECT_EQ(testing::calls_starting(f.tray_area.take(), "notify"),
              CallLog{"notify ZV-KOB: the node warns"});
}

TEST(CareOfTheNode, BacksUpEachLoadedWalletThroughTheNodeIntoTheFolderChosen) {
    CaredFor none;
    none.tick();
    wallets_heard(none.w.engine, std::vector<std::string>{});
    EXPECT_FALSE(none.w.back_up_wallets.enabled()) << "no wallet loaded";
    EXPECT_EQ(none.tip().find("wallet backup"), std::string::npos) << "nobody is nagged";

    CaredFor f;
    EXPECT_FALSE(f.w.back_up_wallets.enabled()) << "until the node has answered";
    f.tick();
    wallets_heard(f.w.engine, std::vector<std::string>{"", "savings"});  // the node's RPC told them
    ASSERT_TRUE(f.w.back_up_wallets.enabled());
    EXPECT_NE(f.tip().find("No wallet backup recorded"), std::string::npos) << f.tip();

    f.folder_picker.answer = {"E:\\Backups", {}};
    f.wallets.refusals = {{"savings", "Error: Wallet backup failed!"}};
    f.files.folder_names["E:\\Backups"] = {
        "DEFAULT-2027-01-15-090000.DAT"};  // a minute's older run
    back_up_wallets_clicked(f.w);
    EXPECT_EQ(testing::calls_starting(f.take_log(), "pick"),
              CallLog{"pick folder: Back Up Wallets at "});
    EXPECT_EQ(f.store.values["BACKUP_FOLDER"], "E:\\Backups");
    ASSERT_EQ(f.wallets.asked.size(), 2U) << "each wallet once";
    EXPECT_EQ(f.wallets.asked[0].process_id, 5000U) << "this copy's node, and only it";
    EXPECT_EQ(f.wallets.asked[1].process_id, 5000U);
    EXPECT_EQ(f.wallets.destinations,
              (std::vector<std::string>{"E:\\Backups\\default-2027-01-15-090000-2.dat",
                                        "E:\\Backups\\savings-2027-01-15-090000.dat"}));
    ASSERT_EQ(f.notifier.messages.size(), 1U);
    EXPECT_EQ(f.notifier.messages[0],
              "Wallet backup to E:\\Backups:\n\nthe default wallet: written as "
              "default-2027-01-15-090000-2.dat\nwallet \"savings\": not written. The node says: "
              "Error: Wallet backup failed!");
    EXPECT_TRUE(
        f.history.holds("Wallet backup written: the default wallet to "
                        "E:\\Backups\\default-2027-01-15-090000-2.dat"));
    EXPECT_EQ(f.tip().find("wallet backup"), std::string::npos) << "just written";

    f.files.missing = {"E:\\Backups"};
    f.wallets.refusals[""] = "Error: Wallet backup failed!";
    back_up_wallets_clicked(f.w);
    EXPECT_EQ(testing::calls_starting(f.take_log(), "pick"),
              CallLog{"pick folder: Back Up Wallets at E:\\Backups"});
    EXPECT_NE(f.notifier.messages.back().find(
                  "The folder E:\\Backups is not there (is its drive connected?)."),
              std::string::npos);

    f.folder_picker.answer = {};  // cancelled
    back_up_wallets_clicked(f.w);
    EXPECT_EQ(f.notifier.messages.size(), 2U);

    // A folder whose names cannot be listed may hold a file a backup would
    // overwrite: the node is asked nothing.
    f.files.missing.clear();
    f.folder_picker.answer = {"F:\\Locked", {}};
    const std::size_t asked = f.wallets.asked.size();
    f.files.unlisted = {"F:\\Locked"};
    back_up_wallets_clicked(f.w);
    EXPECT_EQ(f.wallets.asked.size(), asked);
    EXPECT_NE(f.notifier.messages.back().find(
                  "not written (as default-2027-01-15-090000.dat): ZV-KOB cannot list the files "
                  "in the folder"),
              std::string::npos)
        << f.notifier.messages.back();

    // At exit, a backup that never began is said not to have been asked.
    f.background.held_lanes = {Lane::wallet_backup};
    f.folder_picker.answer = {"E:\\Backups", {}};
    back_up_wallets_clicked(f.w);
    f.background.drop_all();
    EXPECT_TRUE(f.history.holds(
        "Wallet backup to E:\\Backups not asked of the node: ZV-KOB closed before it began."));
    EXPECT_EQ(f.wallets.asked.size(), asked);
}

}  // namespace
}  // namespace zvkob

namespace zvkob {
namespace {

constexpr char blocks_folder[] = R"(D:\Chain\blocks)";
constexpr char xor_key[] = R"(D:\Chain\blocks\xor.dat)";
constexpr char hint_told[] =
    R"(ZV-KOB's hint: the node's block files in D:\Chain\blocks are not obfuscated)";
constexpr char hint_shown[] = R"(Hint: exclude D:\Chain from antivirus scanning)";

TEST(AntivirusHint, TellsPlainBlockFilesFromTheirKey) {
    const std::string key(8, '\0');
    EXPECT_EQ(block_files_of({.blocks_folder_there = false}), BlockFiles::unknown);
    EXPECT_EQ(block_files_of({.blocks_folder_there = true}), BlockFiles::no_key);
    EXPECT_EQ(block_files_of({.blocks_folder_there = true, .there = true, .key = key}),
              BlockFiles::zero_key);
    EXPECT_EQ(block_files_of({.blocks_folder_there = true, .there = true, .key = key + '\0'}),
              BlockFiles::unknown);
    EXPECT_EQ(block_files_of({.blocks_folder_there = true, .there = true, .key = key.substr(1)}),
              BlockFiles::unknown)
        << "seven bytes";
    std::string set = key;
    set[7] = '\x01';
    EXPECT_EQ(block_files_of({.blocks_folder_there = true, .there = true, .key = set}),
              BlockFiles::obfuscated);

    // -blocksdir moves them (below the network's own folder), and the hint names both folders.
    testing::FakeFileSystem files;
    files.missing = {R"(E:\Blocks\testnet3\blocks\xor.dat)"};
    const BlockFilesLook look = look_at_block_files(
        files, R"("C:\Node\bitcoind.exe" -datadir=D:\Chain -testnet -blocksdir=E:\Blocks)");
    EXPECT_EQ(look.blocks_folder, R"(E:\Blocks\testnet3\blocks)");
    EXPECT_EQ(look.files, BlockFiles::no_key);
    EXPECT_NE(antivirus_hint_event(look.files, look.data_folder, look.blocks_folder)
                  .find(R"(Excluding the data folder D:\Chain and E:\Blocks\testnet3\blocks from)"),
              std::string::npos);
}

// Once per run of ZV-KOB and data folder in the history; in the tooltip
// while that node runs and its progress is shown.
TEST(AntivirusHint, TellsOncePerRunAndFolderWhereTheBlockFilesArePlain) {
    for (const bool zero_key : {false, true}) {
        CaredFor f;
        if (zero_key) {
            f.files.ends[xor_key] = {std::string(8, '\0'), true, {}};
        } else {
            f.files.missing = {xor_key};
        }
        f.tick();
        f.tick();
        EXPECT_EQ(f.history.count(hint_told), 1U);
        EXPECT_EQ(f.history.holds("the data folder was made before version 28"), zero_key);
        EXPECT_NE(f.tip().find(hint_shown), std::string::npos) << f.tip();
        f.watch(false, false);
        f.launch_daemon();  // another run of the node on the same folder
        f.tick();
        EXPECT_NE(f.tip().find(hint_shown), std::string::npos) << f.tip();
        EXPECT_EQ(f.history.count(hint_told), 1U) << "told once per run of ZV-KOB";
        show_progress_clicked(f.w);
        EXPECT_EQ(f.tip().find(hint_shown), std::string::npos) << "only while progress is shown";
    }
    CaredFor obfuscated;
    obfuscated.files.ends[xor_key] = {std::string("\x5a\x11\x00\x42\x07\x19\x88\x01", 8), true, {}};
    obfuscated.tick();
    EXPECT_FALSE(obfuscated.history.holds("ZV-KOB's hint"));
    EXPECT_EQ(obfuscated.tip().find("Hint:"), std::string::npos);
}

TEST(AntivirusHint, LooksAgainAMinuteLaterWhileTheBlocksFolderIsNotThereAndNotWithProgressOff) {
    CaredFor f;
    f.files.missing = {blocks_folder};
    f.tick();
    f.files.missing = {xor_key};  // the node made it since
    f.clock.advance(AntivirusHint::look_again_ms - 1000);
    f.tick();
    EXPECT_FALSE(f.history.holds(hint_told));
    f.clock.advance(1000);
    f.tick();
    EXPECT_TRUE(f.history.holds(hint_told));

    CaredFor off;
    show_progress_clicked(off.w);
    off.files.missing = {xor_key};
    off.tick();
    EXPECT_FALSE(off.history.holds(hint_told));
}

}  // namespace
}  // namespace zvkob
