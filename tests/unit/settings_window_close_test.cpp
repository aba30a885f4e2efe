#include <gtest/gtest.h>

#include "main_window/load_unload.hpp"
#include "settings_fakes.hpp"
#include "settings_window/credit_line.hpp"
#include "settings_window/open_unload.hpp"

namespace zvkob {
namespace {

using testing::CallLog;

struct SettingsCloseTest : ::testing::Test {
    testing::SettingsWindowFixture f;
    SettingsWindow& w = f.window;
    MainWindow& main = f.main.window;

    SettingsCloseTest() {
        load_main_window(main);
        open_settings_window(w);
        f.take_log();
    }
};

TEST_F(SettingsCloseTest, TheCloseButtonClosesWhateverItsCaption) {
    w.CLOSE_BUTTON.click();
    EXPECT_EQ(f.take_log(), CallLog{"close settings"}) << "Cancel saves nothing";
    w.CLOSE_BUTTON.set_text("Close");
    w.CLOSE_BUTTON.click();
    EXPECT_EQ(f.take_log(), CallLog{"close settings"});
}

TEST_F(SettingsCloseTest, TheUnloadSavesOnlyThePositionAndStopsTheComposer) {
    w.QT_LOCATION_TEXTBOX.set_text("C:\\typed but not saved");
    w.frame.set_position(3000, 45);
    ASSERT_TRUE(unload_settings_window(w).ok());
    EXPECT_EQ(f.log, (CallLog{"save SETTINGS-Left=3000", "save SETTINGS-Top=45"}));
    for (const Timer* timer : w.timers()) {
        EXPECT_FALSE(timer->running()) << timer->name();
    }
}

TEST_F(SettingsCloseTest, AnUnloadThatCannotSaveSaysSo) {
    f.store.failing_keys = {"SETTINGS-Top"};
    const Outcome saved = unload_settings_window(w);
    EXPECT_EQ(saved.reason(),
              "ZV-KOB could not save these settings: SETTINGS-Top.\n\nAccess is denied.");
}

TEST_F(SettingsCloseTest, AlwaysOnTopSwitchesTheMainWindowBothWaysAtOnce) {
    w.AlwaysOnTopTimer_TICKBOX.click();
    EXPECT_FALSE(main.AlwaysOnTopTimer.enabled());
    EXPECT_EQ(main.AlwaysOnTopTimer_TICKBOX.tick(), 0);
    const CallLog off = f.take_log();
    EXPECT_NE(std::find(off.begin(), off.end(), "not topmost 100"), off.end());
    EXPECT_EQ(std::count_if(off.begin(), off.end(),
                            [](const std::string& call) { return call.rfind("save", 0) == 0; }),
              0)
        << "nothing is saved";

    w.AlwaysOnTopTimer_TICKBOX.click();
    EXPECT_TRUE(main.AlwaysOnTopTimer.running());
    EXPECT_EQ(main.AlwaysOnTopTimer_TICKBOX.tick(), 1);
}

TEST_F(SettingsCloseTest, TheCreditLineShowsTheBuildsContactAndKeepsIt) {
    EXPECT_EQ(w.ZV_KOB_CREATOR.text(), "Created By The ZV-KOB Project");
    w.ZV_KOB_CREATOR.click();
    EXPECT_EQ(w.ZV_KOB_CREATOR.text(), credit_line_contact);
    EXPECT_NE(credit_line_contact.find("README"), std::string_view::npos) << "the default";
    w.ZV_KOB_CREATOR.click();
    EXPECT_EQ(w.ZV_KOB_CREATOR.text(), credit_line_contact);
}

}  // namespace
}  // namespace zvkob
