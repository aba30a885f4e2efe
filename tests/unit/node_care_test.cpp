// Care while the node syncs: when the PC is kept awake, the disk's runway,
// wallet backups and the node's warnings.
#include <gtest/gtest.h>

#include "core/disk_runway.hpp"
#include "core/keep_awake.hpp"
#include "core/node_warnings.hpp"
#include "core/wallet_backup.hpp"
#include "fakes.hpp"

namespace zvkob {
namespace {

constexpr std::int64_t minute = 60'000;
constexpr std::int64_t hour = 60 * minute;
constexpr std::int64_t day = 24 * hour;
constexpr std::uint64_t gb = 1'000'000'000;

using Action = AwakeStep::Action;

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
    };
    EXPECT_EQ(backup_message("D:\\B", backups),
              "Wallet backup to D:\\B:\n\nthe default wallet: written as "
              "default-2026-12-08-094512.dat\nwallet \"cold\": not written. The node says: "
              "Error: Wallet backup failed!");
    const auto events = backup_events(backups);
    ASSERT_EQ(events.size(), 2U);
    EXPECT_EQ(events[1],
              "Wallet backup failed: wallet \"cold\" to "
              "D:\\B\\cold-2026-12-08-094512.dat: Error: Wallet backup failed!");

    const std::string history =
        "2026-01-02T03:04:05+01:00 ZV-KOB 1.0 opened (copy A).\n"
        "2026-01-02T03:05:00+01:00 " +
        events[0] +
        "\r\n"
        "2026-01-02T03:06:00+01:00 " +
        events[1] + "\n";
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
}

}  // namespace
}  // namespace zvkob
