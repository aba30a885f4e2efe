#include "main_window/window_menu.hpp"

#include <gtest/gtest.h>

#include "main_window/event_order.hpp"
#include "main_window/load_unload.hpp"
#include "main_window/main_window_layout.hpp"
#include "guardian/flows/metered_events.hpp"
#include "guardian/flows/neighbour_events.hpp"
#include "guardian/flows/node_care.hpp"
#include "watched_window.hpp"

namespace zvkob {
namespace {

using testing::CallLog;
using testing::WatchedWindow;

TEST(StartWithWindows, TheTickShowsTheEntryAndAClickAddsOrRemovesIt) {
    WatchedWindow f;
    EXPECT_FALSE(f.w.start_with_windows.ticked());
    f.startup.is_registered = true;  // added by hand, or by an earlier run
    window_menu_opening(f.w);
    EXPECT_TRUE(f.w.start_with_windows.ticked());

    start_with_windows_clicked(f.w);
    EXPECT_EQ(f.take_log(), CallLog{"remove startup entry"});
    EXPECT_FALSE(f.w.start_with_windows.ticked());
    start_with_windows_clicked(f.w);
    EXPECT_EQ(f.take_log(), CallLog{"add startup entry"});
    EXPECT_TRUE(f.w.start_with_windows.ticked());

    f.startup.failure = "Access is denied.";
    start_with_windows_clicked(f.w);
    EXPECT_EQ(f.take_log(), (CallLog{"remove startup entry", "message"}));
    EXPECT_TRUE(f.w.start_with_windows.ticked()) << "the tick shows what is, not what was asked";
    EXPECT_NE(f.notifier.messages.at(0).find("Access is denied."), std::string::npos);
}

TEST(HistoryCommand, OpensTheHistoryOrSaysWhyItCannot) {
    WatchedWindow f;
    history_clicked(f.w);
    EXPECT_EQ(f.history.openings, 1);
    f.history.failing = "The folder C:\\Users\\node\\AppData\\Local\\ZV-KOB cannot be created.";
    history_clicked(f.w);
    EXPECT_EQ(f.history.openings, 1);
    ASSERT_EQ(f.notifier.messages.size(), 1U);
    EXPECT_NE(f.notifier.messages[0].find("cannot be created"), std::string::npos);
}

// A copy that never used the guarding ticks stores what it stored before; a
// tick the user changes is stored at once, so a ZV-KOB killed later keeps it.
TEST(GuardingTicks, AreStoredWhenClickedAndNotBefore) {
    for (const auto& [key, click] : {std::pair{"KEEP_NODE_RUNNING", &keep_node_running_clicked},
                                     std::pair{"SAFE_SIGN_OUT", &safe_sign_out_clicked},
                                     std::pair{"CHECK_DATA_DRIVE", &check_data_drive_clicked},
                                     std::pair{"KEEP_AWAKE", &keep_awake_clicked},
                                     std::pair{"BATTERY_STOP", &battery_stop_clicked},
                                     std::pair{"NODE_LOW_PRIORITY", &low_priority_clicked},
                                     std::pair{"METERED_PAUSE", &metered_pause_clicked}}) {
        WatchedWindow f;
        ASSERT_TRUE(unload_main_window(f.w).ok());
        EXPECT_EQ(f.store.values.count(key), 0U) << key;
        click(f.w);
        EXPECT_EQ(f.store.values[key], "1") << key << ": at once";
        click(f.w);
        EXPECT_EQ(f.store.values[key], "0") << key;
        f.store.failing_keys = {key};
        click(f.w);
        EXPECT_NE(
            f.notifier.messages.back().find("could not save this setting: " + std::string(key)),
            std::string::npos);
    }
}

}  // namespace
}  // namespace zvkob

namespace zvkob {
namespace {

// Each item of the window menu is reached by a letter of its own, none of
// them one of Windows' own items (Restore, Move, Size, Minimize, Maximize, Close).
TEST(WindowMenu, EachItemHasAMnemonicOfItsOwn) {
    std::string taken = "rmsnxc";
    for (const ControlSpec* item : main_window_layout().window_menu) {
        const std::string_view caption = item->caption;
        const auto amp = caption.find('&');
        ASSERT_NE(amp, std::string_view::npos) << caption;
        const char letter = static_cast<char>(std::tolower(caption[amp + 1]));
        EXPECT_EQ(taken.find(letter), std::string::npos) << caption;
        taken += letter;
    }
}

}  // namespace
}  // namespace zvkob
