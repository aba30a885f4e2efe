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

CallLog store_reads(const CallLog& log) {
    CallLog reads;
    std::copy_if(log.begin(), log.end(), std::back_inserter(reads),
                 [](const std::string& call) { return call.rfind("get ", 0) == 0; });
    return reads;
}

struct OpenTest : ::testing::Test {
    SettingsWindowFixture f;
    SettingsWindow& w = f.window;
    MainWindow& main = f.main.window;

    OpenTest() {
        load_main_window(main);
        f.take_log();
    }
};

TEST_F(OpenTest, ReadsTheStoreInItsOrder) {
    open_settings_window(w);
    EXPECT_EQ(store_reads(f.log),
              (CallLog{"get SETTINGS-Left", "get SETTINGS-Top", "get SETTINGS-Width",
                       "get SETTINGS-Height", "get ZV_KOB_LOCATION_TEXTBOX",
                       "get BLOCKCHAIN_FOLDER_TEXTBOX", "get CONF_LOCATION_TEXTBOX",
                       "get DAEMON_LOCATION_TEXTBOX", "get DAEMOND_NAME_TEXTBOX",
                       "get QT_LOCATION_TEXTBOX", "get QT_NAME_TEXTBOX", "get WALLET_TICKBOX",
                       "get DISABLE_WALLET_TICKBOX", "get DASH_DISABLE_WALLET_EQUALS_TEXTBOX",
                       "get AlwaysOnTopTimer_TICKBOX"}));
}

TEST_F(OpenTest, FirstOpeningShowsEveryDefaultAndBothRunCommandsAtOnce) {
    open_settings_window(w);
    EXPECT_EQ(w.frame.caption(), "TARLOWEN - ZV-KOB - SETTINGS");
    EXPECT_EQ(w.frame.left(), 1000.0F);
    EXPECT_EQ(w.frame.top(), 1000.0F);
    EXPECT_EQ(w.frame.width(), 12105.0F);
    EXPECT_EQ(w.frame.height(), 6750.0F);
    for (const TextBox* box :
         {&w.ZV_KOB_LOCATION_TEXTBOX, &w.BLOCKCHAIN_FOLDER_TEXTBOX, &w.CONF_LOCATION_TEXTBOX,
          &w.DAEMON_LOCATION_TEXTBOX, &w.DAEMOND_NAME_TEXTBOX, &w.QT_LOCATION_TEXTBOX,
          &w.QT_NAME_TEXTBOX, &w.DASH_DISABLE_WALLET_EQUALS_TEXTBOX}) {
        EXPECT_EQ(box->text(), "") << box->name();
    }
    EXPECT_EQ(w.WALLET_TICKBOX.tick(), 0);
    EXPECT_TRUE(w.WALLET_TICKBOX.enabled());
    EXPECT_EQ(w.DISABLE_WALLET_TICKBOX.tick(), 0);
    EXPECT_FALSE(w.DISABLE_WALLET_TICKBOX.enabled());
    EXPECT_EQ(w.AlwaysOnTopTimer_TICKBOX.tick(), 1);
    EXPECT_EQ(w.CLOSE_BUTTON.text(), "Cancel");
    EXPECT_EQ(w.ZV_KOB_CREATOR.text(), "Created By The ZV-KOB Project");
    EXPECT_EQ(w.BAT_QT_RUN_COMMAND_TEXTBOX.text(), "BAT_QT_RUN_COMMAND_TEXTBOX");
    EXPECT_EQ(w.BAT_DAEMON_RUN_COMMAND_TEXTBOX.text(), "BAT_DAEMON_RUN_COMMAND_TEXTBOX");
    for (const Timer* timer : w.timers()) {
        EXPECT_TRUE(timer->running()) << timer->name();
        EXPECT_EQ(timer->interval_ms(), 1000) << timer->name();
    }
    EXPECT_EQ(w.ZV_QT_COMMAND_TEXTBOX.text(), "call \"\\\" -conf= -datadir=")
        << "composed once at the end of the opening, not only a second later";
    EXPECT_EQ(w.ZV_D_COMMAND_TEXTBOX.text(), "call \"\\\" -conf= -datadir=");
    EXPECT_TRUE(main.AlwaysOnTopTimer.running());
    EXPECT_EQ(std::count_if(f.log.begin(), f.log.end(),
                            [](const std::string& call) { return call.rfind("get ", 0) != 0; }),
              0)
        << "a stored 1 leaves the main window alone";
}

TEST_F(OpenTest, RestoresTheStoredFieldsAndShowsTheirRunCommands) {
    f.store.values = {{"SETTINGS-Left", "2250"},
                      {"SETTINGS-Top", "-150"},
                      {"SETTINGS-Width", "13000"},
                      {"QT_LOCATION_TEXTBOX", "C:\\Program Files\\Bitcoin"},
                      {"QT_NAME_TEXTBOX", "bitcoin-qt.exe"},
                      {"DAEMON_LOCATION_TEXTBOX", "C:\\Program Files\\Bitcoin\\Daemon"},
                      {"DAEMOND_NAME_TEXTBOX", "bitcoind.exe"},
                      {"CONF_LOCATION_TEXTBOX", "C:\\BC-CONF\\BTC\\bitcoin.conf"},
                      {"BLOCKCHAIN_FOLDER_TEXTBOX", "C:\\BC-ROOT\\BTC-BC"},
                      {"ZV_KOB_LOCATION_TEXTBOX", " C:\\TARLOWEN\\ZV-KOB "},
                      {"WALLET_TICKBOX", "1"}};
    open_settings_window(w);
    EXPECT_EQ(w.frame.left(), 2250.0F);
    EXPECT_EQ(w.frame.top(), -150.0F);
    EXPECT_EQ(w.frame.width(), 13000.0F);
    EXPECT_EQ(w.ZV_KOB_LOCATION_TEXTBOX.text(), " C:\\TARLOWEN\\ZV-KOB ") << "never trimmed";
    EXPECT_EQ(w.ZV_QT_COMMAND_TEXTBOX.text(), testing::worked_qt_line);
    EXPECT_EQ(w.ZV_D_COMMAND_TEXTBOX.text(), testing::worked_daemon_line);
}

TEST_F(OpenTest, StoredAlwaysOnTopClearSwitchesTheMainWindowOff) {
    f.store.values = {{"AlwaysOnTopTimer_TICKBOX", "0"}};
    open_settings_window(w);
    EXPECT_EQ(w.AlwaysOnTopTimer_TICKBOX.tick(), 0);
    EXPECT_FALSE(main.AlwaysOnTopTimer.enabled());
    EXPECT_EQ(main.AlwaysOnTopTimer_TICKBOX.tick(), 0);
    EXPECT_NE(std::find(f.log.begin(), f.log.end(), "not topmost 100"), f.log.end())
        << "the main window leaves the topmost band at once";
}

TEST_F(OpenTest, StoredAlwaysOnTopTickedLeavesAMainWindowThatWasSwitchedOff) {
    main.AlwaysOnTopTimer_TICKBOX.click();
    ASSERT_FALSE(main.AlwaysOnTopTimer.enabled());
    f.store.values = {{"AlwaysOnTopTimer_TICKBOX", "1"}};
    open_settings_window(w);
    EXPECT_FALSE(main.AlwaysOnTopTimer.enabled());
    EXPECT_EQ(main.AlwaysOnTopTimer_TICKBOX.tick(), 0);
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
    EXPECT_EQ(w.WALLET_TICKBOX.tick(), c.wallet_tick);
    EXPECT_EQ(w.DISABLE_WALLET_TICKBOX.tick(), c.disabled_tick);
    EXPECT_EQ(w.WALLET_TICKBOX.enabled(), c.wallet_unlocked);
    EXPECT_EQ(w.DISABLE_WALLET_TICKBOX.enabled(), c.disabled_unlocked);
    EXPECT_EQ(w.DASH_DISABLE_WALLET_EQUALS_TEXTBOX.text(), c.argument);
    EXPECT_EQ(w.ZV_QT_COMMAND_TEXTBOX.text(),
              "call \"\\\" -conf= -datadir=" + std::string(c.argument));
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
