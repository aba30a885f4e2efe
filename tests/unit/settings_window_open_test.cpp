#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "main_window/load_unload.hpp"
#include "settings_fakes.hpp"
#include "settings_window/open_unload.hpp"

namespace zvkob {
namespace {

using testing::CallLog;
using testing::SettingsWindowFixture;

struct OpenTest : ::testing::Test {
    SettingsWindowFixture f;
    SettingsWindow& w = f.window;
    MainWindow& main = f.main.window;

    OpenTest() {
        load_main_window(main);
        f.take_log();
    }
};

TEST_F(OpenTest, ReadsItsFifteenKeysOnceAndStoresNothing) {
    open_settings_window(w);
    CallLog reads = testing::calls_starting(f.log, "get ");
    std::sort(reads.begin(), reads.end());
    EXPECT_EQ(
        reads,
        (CallLog{"get AlwaysOnTopTimer_TICKBOX", "get BLOCKCHAIN_FOLDER_TEXTBOX",
                 "get CONF_LOCATION_TEXTBOX", "get DAEMOND_NAME_TEXTBOX",
                 "get DAEMON_LOCATION_TEXTBOX", "get DASH_DISABLE_WALLET_EQUALS_TEXTBOX",
                 "get DISABLE_WALLET_TICKBOX", "get QT_LOCATION_TEXTBOX", "get QT_NAME_TEXTBOX",
                 "get SETTINGS-Height", "get SETTINGS-Left", "get SETTINGS-Top",
                 "get SETTINGS-Width", "get WALLET_TICKBOX", "get ZV_KOB_LOCATION_TEXTBOX"}));
    EXPECT_EQ(reads.size(), f.log.size());
}

TEST_F(OpenTest, FirstOpeningShowsEveryDefaultAndBothRunCommandsAtOnce) {
    open_settings_window(w);
    EXPECT_EQ(w.frame.caption(), "TARLOWEN - ZV-KOB - SETTINGS");
    EXPECT_EQ(w.frame.left(), 1000.0F);
    EXPECT_EQ(w.frame.top(), 1000.0F);
    EXPECT_EQ(w.frame.width(), 12105.0F);
    EXPECT_EQ(w.frame.height(), 6750.0F);
    for (const TextBox* box : {&w.program_folder, &w.data_folder, &w.conf_file, &w.daemon_folder,
                               &w.daemon_file, &w.qt_folder, &w.qt_file}) {
        EXPECT_EQ(box->text(), "") << box->name();
    }
    EXPECT_EQ(w.wallet_argument, "");
    EXPECT_EQ(w.wallet.tick(), 0);
    EXPECT_TRUE(w.wallet.enabled());
    EXPECT_EQ(w.wallet_disabled.tick(), 0);
    EXPECT_FALSE(w.wallet_disabled.enabled());
    EXPECT_EQ(w.always_on_top.tick(), 1);
    EXPECT_EQ(w.close_button.text(), "Cancel");
    EXPECT_EQ(w.credit_line.text(), "Created By The ZV-KOB Project");
    EXPECT_FALSE(w.batch_paths) << "Save To Registry has not run in this opening";
    for (const Timer* timer : w.timers()) {
        EXPECT_TRUE(timer->running()) << timer->name();
        EXPECT_EQ(timer->interval_ms(), 1000) << timer->name();
    }
    EXPECT_EQ(w.qt_run_command.text(), "call \"\\\" -conf= -datadir=")
        << "composed once at the end of the opening, not only a second later";
    EXPECT_EQ(w.daemon_run_command.text(), "call \"\\\" -conf= -datadir=");
    EXPECT_TRUE(main.always_on_top_timer.running());
    EXPECT_EQ(std::count_if(f.log.begin(), f.log.end(),
                            [](const std::string& call) { return call.rfind("get ", 0) != 0; }),
              0)
        << "a stored 1 leaves the main window alone";
}

TEST_F(OpenTest, RestoresTheStoredFieldsAndShowsTheirRunCommands) {
    f.store.values = {{"SETTINGS-Left", "2250"},
                      {"SETTINGS-Top", "-150"},
                      {"SETTINGS-Width", "13000"},
                      {"ZV_KOB_LOCATION_TEXTBOX", " C:\\TARLOWEN\\ZV-KOB "},
                      {"WALLET_TICKBOX", "1"}};
    for (const auto& field : testing::worked_example::fields) {
        f.store.values[std::string(field.key)] = field.value;
    }
    open_settings_window(w);
    EXPECT_EQ(w.frame.left(), 2250.0F);
    EXPECT_EQ(w.frame.top(), -150.0F);
    EXPECT_EQ(w.frame.width(), 13000.0F);
    EXPECT_EQ(w.program_folder.text(), " C:\\TARLOWEN\\ZV-KOB ") << "never trimmed";
    EXPECT_EQ(w.qt_run_command.text(), testing::worked_qt_line);
    EXPECT_EQ(w.daemon_run_command.text(), testing::worked_daemon_line);
}

TEST_F(OpenTest, StoredAlwaysOnTopClearSwitchesTheMainWindowOff) {
    f.store.values = {{"AlwaysOnTopTimer_TICKBOX", "0"}};
    open_settings_window(w);
    EXPECT_EQ(w.always_on_top.tick(), 0);
    EXPECT_FALSE(main.always_on_top_timer.enabled());
    EXPECT_EQ(main.always_on_top.tick(), 0);
    EXPECT_NE(std::find(f.log.begin(), f.log.end(), "not topmost 100"), f.log.end())
        << "the main window leaves the topmost band at once";
}

TEST_F(OpenTest, StoredAlwaysOnTopTickedLeavesAMainWindowThatWasSwitchedOff) {
    main.always_on_top.click();
    ASSERT_FALSE(main.always_on_top_timer.enabled());
    f.store.values = {{"AlwaysOnTopTimer_TICKBOX", "1"}};
    open_settings_window(w);
    EXPECT_FALSE(main.always_on_top_timer.enabled());
    EXPECT_EQ(main.always_on_top.tick(), 0);
}

// Every stored combination of the two tickboxes, each with an argument text
// that contradicts it, opens in the state the tickboxes give.
struct WalletCase {
    const char* wallet;
    const char* disabled;
    const char* stored_argument;
    int wallet_tick;
    int disabled_tick;
    bool wallet_unlocked;
    bool disabled_unlocked;
    const char* argument;
};

class OpenWalletTest : public OpenTest, public ::testing::WithParamInterface<WalletCase> {};

TEST_P(OpenWalletTest, EndsInOneOfTheThreeStates) {
    const WalletCase& c = GetParam();
    f.store.values = {{"WALLET_TICKBOX", c.wallet},
                      {"DISABLE_WALLET_TICKBOX", c.disabled},
                      {"DASH_DISABLE_WALLET_EQUALS_TEXTBOX", c.stored_argument}};
    open_settings_window(w);
    EXPECT_EQ(w.wallet.tick(), c.wallet_tick);
    EXPECT_EQ(w.wallet_disabled.tick(), c.disabled_tick);
    EXPECT_EQ(w.wallet.enabled(), c.wallet_unlocked);
    EXPECT_EQ(w.wallet_disabled.enabled(), c.disabled_unlocked);
    EXPECT_EQ(w.wallet_argument, c.argument);
    EXPECT_EQ(w.qt_run_command.text(), "call \"\\\" -conf= -datadir=" + std::string(c.argument));
}

INSTANTIATE_TEST_SUITE_P(
    StoredTicks, OpenWalletTest,
    ::testing::Values(WalletCase{"0", "0", " -disablewallet=1", 0, 0, true, false, ""},
                      WalletCase{"1", "0", "", 1, 0, true, true, " -disablewallet=0"},
                      WalletCase{"1", "1", " -disablewallet=0", 1, 1, false, true,
                                 " -disablewallet=1"},
                      WalletCase{"0", "1", " -disablewallet=1", 0, 0, true, false, ""}));

}  // namespace
}  // namespace zvkob
