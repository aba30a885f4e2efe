#include <gtest/gtest.h>

#include "main_window/load_unload.hpp"
#include "settings_fakes.hpp"
#include "settings_window/credit_line.hpp"
#include "settings_window/open_unload.hpp"

namespace zvkob {
namespace {

using testing::CallLog;

using SettingsCloseTest = testing::OpenSettingsWindow;

TEST_F(SettingsCloseTest, TheCloseButtonClosesWhateverItsCaption) {
    w.close_button.click();
    EXPECT_EQ(f.take_log(), CallLog{"close settings"}) << "Cancel saves nothing";
    w.close_button.set_text("Close");
    w.close_button.click();
    EXPECT_EQ(f.take_log(), CallLog{"close settings"});
}

TEST_F(SettingsCloseTest, TheUnloadSavesOnlyThePositionAndStopsTheComposer) {
    w.qt_folder.set_text("C:\\typed but not saved");
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
    w.always_on_top.click();
    EXPECT_FALSE(main.always_on_top_timer.enabled());
    EXPECT_EQ(main.always_on_top.tick(), 0);
    const CallLog off = f.take_log();
    EXPECT_NE(std::find(off.begin(), off.end(), "not topmost 100"), off.end());
    EXPECT_EQ(std::count_if(off.begin(), off.end(),
                            [](const std::string& call) { return call.rfind("save", 0) == 0; }),
              0)
        << "nothing is saved";

    w.always_on_top.click();
    EXPECT_TRUE(main.always_on_top_timer.running());
    EXPECT_EQ(main.always_on_top.tick(), 1);
}

TEST_F(SettingsCloseTest, TheCreditLineShowsTheBuildsContactAndKeepsIt) {
    EXPECT_EQ(w.credit_line.text(), "Created By The ZV-KOB Project");
    w.credit_line.click();
    EXPECT_EQ(w.credit_line.text(), credit_line_contact);
    EXPECT_NE(credit_line_contact.find("README"), std::string_view::npos) << "the default";
    w.credit_line.click();
    EXPECT_EQ(w.credit_line.text(), credit_line_contact);
}

}  // namespace
}  // namespace zvkob
