#include "core/notification_area/tray_rules.hpp"

#include <gtest/gtest.h>

#include "core/notification_area/tray_mark_image.hpp"
#include "core/notification_area/tray_menu.hpp"
#include "fakes.hpp"
#include "main_window/in_notification_area.hpp"
#include "main_window/load_unload.hpp"
#include "main_window/main_window_layout.hpp"
#include "watched_window.hpp"

namespace zvkob {
namespace {

using testing::CallLog;

constexpr std::int64_t second = 1000;
constexpr std::int64_t minute = 60 * second;
constexpr std::int64_t hour = 60 * minute;

struct Tray {
    testing::FakeNotificationArea area;
    testing::FakeHistory history;
    TrayKeeper keeper{area, history};
};

NodeProgressState progress(NodeCondition condition) {
    NodeProgressState state;
    state.condition = condition;
    return state;
}

TEST(TrayIcon, ShowsTheInstanceAndTheStateOfItsNode) {
    NodeProgressState synced = progress(NodeCondition::synced);
    synced.height = 927012;
    NodeProgressState catching_up = progress(NodeCondition::catching_up);
    catching_up.sync_progress = 0.93299;
    catching_up.behind_ms = 3 * 24 * hour;
    NodeProgressState verifying = progress(NodeCondition::starting);
    verifying.phase = StartPhase::verifying;
    verifying.phase_percent = 45;
    NodeProgressState stuck = progress(NodeCondition::stuck);
    stuck.quiet_ms = 3 * hour;
    const NodeProgressState unknown = progress(NodeCondition::unknown);
    const NodeProgressState stopping = progress(NodeCondition::stopping);
    struct Row {
        bool query_fails;
        bool runs;
        const NodeProgressState* progress;
        TrayMark mark;
        std::string tooltip;
    };
    const Row rows[] = {
        {false, true, &synced, TrayMark::synced, "ZV-KOB Testnet: synced · height 927,012"},
        {false, true, &catching_up, TrayMark::busy,
         "ZV-KOB Testnet: catching up · 93.2 % · 3 days behind"},
        {false, true, &verifying, TrayMark::busy,
         "ZV-KOB Testnet: node starting · verifying blocks · 45 %"},
        {false, true, &stopping, TrayMark::busy, "ZV-KOB Testnet: node stopping…"},
        {false, true, &stuck, TrayMark::trouble, "ZV-KOB Testnet: no new block for 3 h"},
        {false, true, &unknown, TrayMark::running, "ZV-KOB Testnet: node running"},
        {false, true, nullptr, TrayMark::running, "ZV-KOB Testnet: node running"},
        {false, false, &synced, TrayMark::stopped, "ZV-KOB Testnet: node stopped"},
        {true, true, &synced, TrayMark::not_watching,
         "ZV-KOB Testnet: cannot tell whether the node runs"},
    };
    for (const Row& row : rows) {
        const TrayIcon icon = tray_icon({"Testnet", row.query_fails, row.runs, row.progress});
        EXPECT_EQ(icon.mark, row.mark) << row.tooltip;
        EXPECT_EQ(icon.tooltip, row.tooltip);
    }
    EXPECT_EQ(tray_icon({"zv-kob", false, false}).tooltip, "ZV-KOB: node stopped");
}

TEST(TrayIcon, ALongTooltipIsCutAtAWholeCharacter) {
    NodeProgressState trouble = progress(NodeCondition::needs_attention);
    trouble.detail = "Error: " + std::string(50, 'x') + std::string(30, 'e') + "\xC3\xA9\xC3\xA9";
    const std::string tooltip = tray_icon({std::string(40, 'N'), false, true, &trouble}).tooltip;
    EXPECT_TRUE(tooltip.starts_with("ZV-KOB NNNN")) << tooltip;
    EXPECT_TRUE(tooltip.ends_with("\xE2\x80\xA6")) << "cut with an ellipsis";
    std::size_t characters = 0;
    for (const char byte : tooltip) {
        characters += (static_cast<unsigned char>(byte) & 0xC0U) != 0x80U;
    }
    EXPECT_EQ(characters, tray_tooltip_characters);
}

TEST(TrayNotices, OnceAnHourEachAndNeverWhileBusyOrUnticked) {
    Tray t;
    EXPECT_FALSE(t.keeper.notice(NoticeKind::trouble, "stuck", "", 0)) << "the tick is off";
    t.keeper.show(TrayIcon{TrayMark::trouble, "tip"}, 0);
    t.area.take();
    EXPECT_TRUE(t.keeper.notice(NoticeKind::trouble, "stuck", "", 0));
    EXPECT_FALSE(t.keeper.notice(NoticeKind::trouble, "stuck again", "", 59 * minute));
    EXPECT_TRUE(t.keeper.notice(NoticeKind::restarting, "restarting", "", 59 * minute));
    t.area.busy = true;
    EXPECT_FALSE(t.keeper.notice(NoticeKind::trouble, "while busy", "", hour));
    t.area.busy = false;
    EXPECT_TRUE(t.keeper.notice(NoticeKind::trouble, "an hour on", "", hour + second))
        << "a notice held back by a busy user was not counted";
    EXPECT_EQ(t.area.take(), (CallLog{"notify stuck", "notify restarting", "notify an hour on"}));
}

TEST(TrayNotices, CaughtUpOncePerStartOfTheNode) {
    Tray t;
    t.keeper.show(TrayIcon{TrayMark::synced, "tip"}, 0);
    EXPECT_TRUE(t.keeper.notice(NoticeKind::caught_up, "caught up", "", 0));
    EXPECT_FALSE(t.keeper.notice(NoticeKind::caught_up, "caught up", "", 5 * hour));
    t.keeper.node_started();
    EXPECT_TRUE(t.keeper.notice(NoticeKind::caught_up, "caught up", "", 6 * hour));
}

TEST(TrayWindow, HidesWhenMinimisedOnlyWhileTheIconIsThereAndComesBack) {
    Tray t;
    t.keeper.minimised();
    EXPECT_FALSE(t.keeper.window_hidden()) << "the tick is off";
    t.area.refuses = true;
    t.keeper.show(TrayIcon{TrayMark::synced, "tip"}, 0);
    t.keeper.minimised();
    EXPECT_FALSE(t.keeper.window_hidden()) << "no icon to bring it back with";
    t.area.refuses = false;
    t.keeper.retry(5 * second);
    t.area.take();

    t.keeper.minimised();
    EXPECT_TRUE(t.keeper.window_hidden());
    t.keeper.bring_back();  // a click on the icon
    EXPECT_FALSE(t.keeper.window_hidden());
    t.keeper.minimised();
    t.keeper.restored();  // a second copy of the same name restored it
    EXPECT_FALSE(t.keeper.window_hidden());
    t.keeper.minimised();
    t.keeper.show(std::nullopt, 6 * second);  // the tick cleared from the icon's menu
    EXPECT_EQ(t.area.take(),
              (CallLog{"hide", "bring back", "hide", "hide", "remove", "bring back"}));
}

TEST(TrayIconKept, AnUnchangedIconIsOnlyCheckedOnceAMinute) {
    Tray t;
    const TrayIcon synced{TrayMark::synced, "synced"};
    t.keeper.show(synced, 0);
    t.keeper.show(synced, 30 * second);
    t.keeper.show(TrayIcon{TrayMark::busy, "busy"}, 31 * second);
    t.keeper.show(TrayIcon{TrayMark::busy, "busy"}, 91 * second);
    EXPECT_EQ(t.area.take(), (CallLog{"show synced", "show busy", "show busy"}));
}

TEST(TrayIconKept, ARefusedIconIsTriedEveryFiveSecondsForAMinute) {
    Tray t;
    t.area.refuses = true;  // right after sign-in the taskbar is still starting
    t.keeper.show(TrayIcon{TrayMark::busy, "old"}, 0);
    EXPECT_TRUE(t.keeper.retrying());
    t.keeper.show(TrayIcon{TrayMark::synced, "new"}, 2 * second);
    for (std::int64_t at = 5 * second; at < minute; at += 5 * second) {
        t.keeper.retry(at);
        EXPECT_TRUE(t.keeper.retrying()) << at;
    }
    EXPECT_EQ(t.area.calls.size(), 12U);
    EXPECT_EQ(t.area.calls.back(), "show new") << "the newest icon is tried";
    t.keeper.minimised();
    EXPECT_TRUE(t.history.events.empty());

    t.keeper.retry(minute);
    EXPECT_FALSE(t.keeper.retrying());
    ASSERT_EQ(t.history.events.size(), 1U);
    EXPECT_NE(t.history.events[0].find("The taskbar is not there."), std::string::npos);
    t.area.take();
    t.keeper.retry(minute + 5 * second);
    t.keeper.show(TrayIcon{TrayMark::synced, "newer"}, 2 * minute);
    EXPECT_TRUE(t.area.take().empty()) << "given up until Explorer starts again";
    EXPECT_EQ(t.history.events.size(), 1U) << "recorded once";

    t.area.refuses = false;
    t.keeper.taskbar_created(3 * minute);
    EXPECT_EQ(t.area.take(), (CallLog{"remove", "show newer"}));
    EXPECT_TRUE(t.keeper.icon_shown());
}

TEST(TrayIconKept, GivingUpBringsAHiddenWindowBackAndTaskbarCreatedAddsTheIconAgain) {
    Tray t;
    t.keeper.show(TrayIcon{TrayMark::synced, "tip"}, 0);
    t.keeper.minimised();
    t.area.refuses = true;  // Explorer ended
    t.keeper.taskbar_created(hour);
    t.keeper.retry(hour + 30 * second);
    EXPECT_TRUE(t.keeper.window_hidden()) << "Explorer may still come back";
    t.keeper.retry(hour + minute);
    EXPECT_FALSE(t.keeper.window_hidden());
    EXPECT_EQ(t.area.take(), (CallLog{"show tip", "hide", "remove", "show tip", "show tip",
                                      "show tip", "bring back"}));
    t.keeper.show(std::nullopt, 2 * hour);
    t.keeper.taskbar_created(2 * hour);
    EXPECT_EQ(t.area.take(), CallLog{"remove"}) << "the tick is off: nothing is added";
}

// The mark's colour (0xAARRGGBB) inside the circle in the bottom-right corner,
// beside its middle: a ring's middle is white, a dot's is its colour.
TEST(TrayMarkImage, PaintsTheMarkInTheCornerInItsColour) {
    struct Mark {
        TrayMark mark;
        std::uint32_t colour;
        std::uint32_t middle;
    };
    const std::uint32_t green = 0xFF00C800U;
    const std::uint32_t grey = 0xFF808080U;
    const std::uint32_t white = 0xFFFFFFFFU;
    const Mark marks[] = {{TrayMark::synced, green, green},
                          {TrayMark::running, green, white},
                          {TrayMark::busy, 0xFFFFC800U, 0xFFFFC800U},
                          {TrayMark::stopped, grey, grey},
                          {TrayMark::trouble, 0xFFE60000U, 0xFFE60000U},
                          {TrayMark::not_watching, grey, white}};
    struct Point {
        std::size_t x;
        std::size_t y;
    };
    struct Spot {
        int size;
        Point colour;
        Point middle;
    };
    for (const Spot spot : {Spot{16, {13, 11}, {11, 11}}, Spot{20, {17, 13}, {13, 13}},
                            Spot{24, {21, 16}, {16, 16}}, Spot{32, {28, 22}, {22, 22}}}) {
        for (const Mark& m : marks) {
            const auto size = static_cast<std::size_t>(spot.size);
            std::vector<std::uint32_t> pixels(size * size, 0x80123456U);
            draw_tray_mark(pixels, spot.size, m.mark);
            const auto at = [&](Point p) { return pixels[p.y * size + p.x]; };
            EXPECT_EQ(at(spot.colour), m.colour) << spot.size << " " << static_cast<int>(m.mark);
            EXPECT_EQ(at(spot.middle), m.middle) << spot.size << " " << static_cast<int>(m.mark);
            EXPECT_EQ(pixels[0], 0x80123456U) << "the far corner is the icon's own";
        }
    }
}

TEST(TrayMenu, OpenTheWindowMenusCommandsAsTheyAreAndClose) {
    const ControlSet controls(main_window_layout());
    MenuItem& first = *controls.window_menu().front();
    first.set_ticked(true);
    const std::vector<MenuChoice> menu = tray_menu(controls);
    EXPECT_EQ(menu.front().text, "&Open ZV-KOB");
    EXPECT_TRUE(menu.front().is_default);
    EXPECT_EQ(menu.back().text, "&Close ZV-KOB");
    EXPECT_TRUE(menu[1].separator);
    EXPECT_EQ(menu[2].text, first.text());
    EXPECT_TRUE(menu[2].ticked);
    EXPECT_EQ(tray_menu_pick(controls, 2)->command, &first);
    EXPECT_EQ(tray_menu_pick(controls, 0)->what, TrayMenuPick::What::open);
    EXPECT_EQ(tray_menu_pick(controls, menu.size() - 1)->what, TrayMenuPick::What::close);
    EXPECT_FALSE(tray_menu_pick(controls, 1)) << "a separator";
    EXPECT_FALSE(tray_menu_pick(controls, menu.size()));
}

// The main window's side: the tick, the icon following the watcher, the
// window hidden and brought back, the menu, and the icon gone at the close.
TEST(TrayInTheWindow, TheTickBringsTheIconAndTheCloseTakesItAway) {
    testing::WatchedWindow f;
    f.watch(false, true);
    EXPECT_TRUE(f.tray_area.take().empty()) << "off: nothing of the notification area";
    f.w.show_in_notification_area.click();
    EXPECT_EQ(f.store.values["NOTIFICATION_AREA"], "1") << "stored at once";
    EXPECT_EQ(f.tray_area.take(), CallLog{"show ZV-KOB: node running"});
    f.watch(false, false);
    EXPECT_EQ(f.tray_area.take(), CallLog{"show ZV-KOB: node stopped"});

    tray_event(f.w, {TrayEventKind::minimised});
    tray_event(f.w, {TrayEventKind::open});
    EXPECT_EQ(f.tray_area.take(), (CallLog{"hide", "bring back"}));

    f.tray_area.menu_choice = tray_menu(f.w.controls).size() - 1;  // Close ZV-KOB
    f.take_log();
    tray_event(f.w, {TrayEventKind::menu});
    EXPECT_EQ(f.take_log(), CallLog{"close main"}) << "as the close box: with the same save";
    (void)unload_main_window(f.w);
    EXPECT_EQ(f.tray_area.take(), (CallLog{"menu", "remove"}));
}

}  // namespace
}  // namespace zvkob
