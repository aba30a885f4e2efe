#include "settings_window/save_to_registry.hpp"

#include <gtest/gtest.h>

#include "main_window/load_unload.hpp"
#include "settings_fakes.hpp"
#include "settings_window/open_unload.hpp"

namespace zvkob {
namespace {

using testing::CallLog;

struct SaveToRegistryTest : ::testing::Test {
    testing::SettingsWindowFixture f;
    SettingsWindow& w = f.window;
    MainWindow& main = f.main.window;

    SaveToRegistryTest() {
        load_main_window(main);
        open_settings_window(w);
        testing::fill_worked_example(w);
        w.ZV_KOB_LOCATION_TEXTBOX.set_text("C:\\TARLOWEN\\ZV-KOB");
        w.WALLET_TICKBOX.click();
        w.QT_BAT_COMMAND_TIMER.tick();
        w.DAEMON_BAT_COMMAND_TIMER.tick();
        w.frame.set_position(1500, 750.5F);
        f.take_log();
    }
};

TEST_F(SaveToRegistryTest, WritesFifteenKeysInTheirOrder) {
    w.SAVE_REGISTRY_BUTTON.click();
    EXPECT_EQ(f.log,
              (CallLog{"save SETTINGS-Left=1500", "save SETTINGS-Top=750.5",
                       "save ZV_KOB_LOCATION_TEXTBOX=C:\\TARLOWEN\\ZV-KOB",
                       "save BLOCKCHAIN_FOLDER_TEXTBOX=C:\\BC-ROOT\\BTC-BC",
                       "save CONF_LOCATION_TEXTBOX=C:\\BC-CONF\\BTC\\bitcoin.conf",
                       "save QT_LOCATION_TEXTBOX=C:\\Program Files\\Bitcoin",
                       "save QT_NAME_TEXTBOX=bitcoin-qt.exe",
                       "save DAEMON_LOCATION_TEXTBOX=C:\\Program Files\\Bitcoin\\Daemon",
                       "save DAEMOND_NAME_TEXTBOX=bitcoind.exe", "save WALLET_TICKBOX=1",
                       "save DISABLE_WALLET_TICKBOX=0",
                       "save DASH_DISABLE_WALLET_EQUALS_TEXTBOX= -disablewallet=0",
                       "save AlwaysOnTopTimer_TICKBOX=1",
                       "save BAT_QT_RUN_COMMAND_TEXTBOX=C:\\TARLOWEN\\ZV-KOB\\ZVKOB-QT.BAT",
                       "save BAT_DAEMON_RUN_COMMAND_TEXTBOX=C:\\TARLOWEN\\ZV-KOB\\ZVKOB-D.BAT"}))
        << "the keys the main window starts from hold the batch file paths, never a run command";
    EXPECT_EQ(w.CLOSE_BUTTON.text(), "Close");
}

TEST_F(SaveToRegistryTest, HandsTheBatchFilePathsAndImageNamesToTheMainWindow) {
    w.SAVE_REGISTRY_BUTTON.click();
    EXPECT_EQ(w.BAT_QT_RUN_COMMAND_TEXTBOX.text(), "C:\\TARLOWEN\\ZV-KOB\\ZVKOB-QT.BAT");
    EXPECT_EQ(w.BAT_DAEMON_RUN_COMMAND_TEXTBOX.text(), "C:\\TARLOWEN\\ZV-KOB\\ZVKOB-D.BAT");
    EXPECT_EQ(main.BAT_QT_RUN_COMMAND_TEXTBOX.text(), "C:\\TARLOWEN\\ZV-KOB\\ZVKOB-QT.BAT");
    EXPECT_EQ(main.BAT_DAEMON_RUN_COMMAND_TEXTBOX.text(), "C:\\TARLOWEN\\ZV-KOB\\ZVKOB-D.BAT");
    EXPECT_EQ(main.QT_NAME_TEXTBOX.text(), "bitcoin-qt.exe");
    EXPECT_EQ(main.DAEMOND_NAME_TEXTBOX.text(), "bitcoind.exe");
}

TEST_F(SaveToRegistryTest, BuildsThePathsWithoutNormalisingTheFolder) {
    w.ZV_KOB_LOCATION_TEXTBOX.set_text("C:\\Tools\\");
    w.SAVE_REGISTRY_BUTTON.click();
    EXPECT_EQ(main.BAT_QT_RUN_COMMAND_TEXTBOX.text(), "C:\\Tools\\\\ZVKOB-QT.BAT");
    w.ZV_KOB_LOCATION_TEXTBOX.set_text("");
    w.SAVE_REGISTRY_BUTTON.click();
    EXPECT_EQ(main.BAT_DAEMON_RUN_COMMAND_TEXTBOX.text(), "\\ZVKOB-D.BAT");
}

// A name the watcher could never find the program by, or a field no batch
// file line can hold, is refused before anything is saved or handed over.
TEST_F(SaveToRegistryTest, RefusesNamesTheWatcherCannotSeeAndOverlongFields) {
    const std::string not_a_name =
        "\" is not a name ZV-KOB can watch the program by. Enter the "
        "program's file name alone, ending in .exe, for example ";
    const std::pair<const char*, std::string> refused[] = {
        {"QT_NAME_TEXTBOX", "bitcoin-qt"},
        {"DAEMOND_NAME_TEXTBOX", "bitcoind.exe "},
        {"DAEMOND_NAME_TEXTBOX", "bitcoind.exe."},
        {"DAEMOND_NAME_TEXTBOX", "Daemon\\bitcoind.exe"},
        {"BLOCKCHAIN_FOLDER_TEXTBOX", std::string(8192, 'x')}};
    for (const auto& [field, text] : refused) {
        const std::string before = w.controls.at(field).text();
        w.controls.at(field).set_text(text);
        w.SAVE_REGISTRY_BUTTON.click();
        EXPECT_EQ(f.take_log(), testing::CallLog{"message"}) << field << " " << text.size();
        w.controls.at(field).set_text(before);
    }
    const auto& said = f.notifier.messages;
    EXPECT_EQ(said[0], "The QT Filename \"bitcoin-qt" + not_a_name +
                           "bitcoin-qt.exe, and its folder into QT Folder.\n\nNothing was saved.");
    EXPECT_EQ(said[3],
              "The DAEMON Filename \"Daemon\\bitcoind.exe" + not_a_name +
                  "bitcoind.exe, and its folder into DAEMON Folder.\n\nNothing was saved.");
    EXPECT_EQ(said[4],
              "The BLOCKCHAIN FOLDER is 8192 characters long; no batch file line can "
              "hold more than 8191.\n\nNothing was saved.");
    EXPECT_EQ(main.QT_NAME_TEXTBOX.text(), "") << "nothing handed over";
    EXPECT_EQ(w.CLOSE_BUTTON.text(), "Cancel");

    w.QT_NAME_TEXTBOX.set_text("Bitcoin-Qt.EXE");
    w.SAVE_REGISTRY_BUTTON.click();
    EXPECT_EQ(w.CLOSE_BUTTON.text(), "Close") << "the case of .exe does not matter";
}

TEST_F(SaveToRegistryTest, AKeyThatCannotBeSavedIsNamedAndTheCaptionStays) {
    f.store.failing_keys = {"QT_NAME_TEXTBOX", "BAT_DAEMON_RUN_COMMAND_TEXTBOX"};
    w.SAVE_REGISTRY_BUTTON.click();
    ASSERT_EQ(f.notifier.messages.size(), 1U);
    EXPECT_EQ(f.notifier.messages[0],
              "ZV-KOB could not save these settings: QT_NAME_TEXTBOX, "
              "BAT_DAEMON_RUN_COMMAND_TEXTBOX.\n\nAccess is denied.");
    EXPECT_EQ(w.CLOSE_BUTTON.text(), "Cancel");
    EXPECT_EQ(f.store.values["DAEMOND_NAME_TEXTBOX"], "bitcoind.exe") << "the rest is saved";
    EXPECT_EQ(main.QT_NAME_TEXTBOX.text(), "bitcoin-qt.exe") << "and handed over";
}

}  // namespace
}  // namespace zvkob
