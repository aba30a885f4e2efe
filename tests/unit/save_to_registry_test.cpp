#include "settings_window/save_to_registry.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "main_window/load_unload.hpp"
#include "settings_fakes.hpp"
#include "settings_window/open_unload.hpp"

namespace zvkob {
namespace {

using testing::CallLog;

struct SaveToRegistryTest : testing::OpenSettingsWindow {
    SaveToRegistryTest() {
        testing::fill_worked_example(w);
        w.program_folder.set_text("C:\\TARLOWEN\\ZV-KOB");
        w.wallet.click();
        w.qt_composer.tick();
        w.daemon_composer.tick();
        w.frame.set_position(1500, 750.5F);
        f.take_log();
    }
};

TEST_F(SaveToRegistryTest, WritesItsFifteenKeys) {
    w.save_to_registry_button.click();
    CallLog writes = f.log;
    std::sort(writes.begin(), writes.end());
    EXPECT_EQ(writes,
              (CallLog{"save AlwaysOnTopTimer_TICKBOX=1",
                       "save BAT_DAEMON_RUN_COMMAND_TEXTBOX=C:\\TARLOWEN\\ZV-KOB\\ZVKOB-D.BAT",
                       "save BAT_QT_RUN_COMMAND_TEXTBOX=C:\\TARLOWEN\\ZV-KOB\\ZVKOB-QT.BAT",
                       "save BLOCKCHAIN_FOLDER_TEXTBOX=C:\\BC-ROOT\\BTC-BC",
                       "save CONF_LOCATION_TEXTBOX=C:\\BC-CONF\\BTC\\bitcoin.conf",
                       "save DAEMOND_NAME_TEXTBOX=bitcoind.exe",
                       "save DAEMON_LOCATION_TEXTBOX=C:\\Program Files\\Bitcoin\\Daemon",
                       "save DASH_DISABLE_WALLET_EQUALS_TEXTBOX= -disablewallet=0",
                       "save DISABLE_WALLET_TICKBOX=0",
                       "save QT_LOCATION_TEXTBOX=C:\\Program Files\\Bitcoin",
                       "save QT_NAME_TEXTBOX=bitcoin-qt.exe", "save SETTINGS-Left=1500",
                       "save SETTINGS-Top=750.5", "save WALLET_TICKBOX=1",
                       "save ZV_KOB_LOCATION_TEXTBOX=C:\\TARLOWEN\\ZV-KOB"}))
        << "the keys the main window starts from hold the batch file paths, never a run command";
    EXPECT_EQ(w.close_button.text(), "Close");
}

TEST_F(SaveToRegistryTest, HandsTheBatchFilePathsAndImageNamesToTheMainWindow) {
    w.save_to_registry_button.click();
    EXPECT_EQ(w.batch_paths->qt, "C:\\TARLOWEN\\ZV-KOB\\ZVKOB-QT.BAT");
    EXPECT_EQ(w.batch_paths->daemon, "C:\\TARLOWEN\\ZV-KOB\\ZVKOB-D.BAT");
    EXPECT_EQ(main.qt.batch_path, "C:\\TARLOWEN\\ZV-KOB\\ZVKOB-QT.BAT");
    EXPECT_EQ(main.daemon.batch_path, "C:\\TARLOWEN\\ZV-KOB\\ZVKOB-D.BAT");
    EXPECT_EQ(main.qt.image, "bitcoin-qt.exe");
    EXPECT_EQ(main.daemon.image, "bitcoind.exe");
}

TEST_F(SaveToRegistryTest, BuildsThePathsWithoutNormalisingTheFolder) {
    w.program_folder.set_text("C:\\Tools\\");
    w.save_to_registry_button.click();
    EXPECT_EQ(main.qt.batch_path, "C:\\Tools\\\\ZVKOB-QT.BAT");
    w.program_folder.set_text("");
    w.save_to_registry_button.click();
    EXPECT_EQ(main.daemon.batch_path, "\\ZVKOB-D.BAT");
}

// A name the watcher could never find the program by, or a field no batch
// file line can hold, is refused before anything is saved or handed over.
TEST_F(SaveToRegistryTest, RefusesNamesTheWatcherCannotSeeAndOverlongFields) {
    const std::string not_a_name =
        "\" is not a name ZV-KOB can watch the program by. Enter the "
        "program's file name alone, ending in .exe, for example ";
    const std::pair<TextBox*, std::string> refused[] = {{&w.qt_file, "bitcoin-qt"},
                                                        {&w.daemon_file, "bitcoind.exe "},
                                                        {&w.daemon_file, "bitcoind.exe."},
                                                        {&w.daemon_file, "Daemon\\bitcoind.exe"},
                                                        {&w.data_folder, std::string(8192, 'x')},
                                                        {&w.qt_file, ".exe"},
                                                        {&w.qt_file, "bitcoin\x1Fqt.exe"}};
    for (const auto& [field, text] : refused) {
        const std::string before = field->text();
        field->set_text(text);
        w.save_to_registry_button.click();
        EXPECT_EQ(f.take_log(), testing::CallLog{"message"}) << field->name() << " " << text.size();
        field->set_text(before);
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
    EXPECT_EQ(main.qt.image, "") << "nothing handed over";
    EXPECT_EQ(w.close_button.text(), "Cancel");

    w.qt_file.set_text("Bitcoin-Qt.EXE");
    w.save_to_registry_button.click();
    EXPECT_EQ(w.close_button.text(), "Close") << "the case of .exe does not matter";
    for (const auto& [field, text] : {std::pair{&w.qt_file, std::string("my bitcoin-qt.exe")},
                                      std::pair{&w.daemon_file, std::string()},
                                      std::pair{&w.data_folder, std::string(8191, 'x')}}) {
        field->set_text(text);
        w.close_button.set_text("Cancel");
        w.save_to_registry_button.click();
        EXPECT_EQ(w.close_button.text(), "Close") << field->name() << " " << text.size();
    }
}

TEST_F(SaveToRegistryTest, AKeyThatCannotBeSavedIsNamedAndTheCaptionStays) {
    f.store.failing_keys = {"QT_NAME_TEXTBOX", "BAT_DAEMON_RUN_COMMAND_TEXTBOX"};
    w.save_to_registry_button.click();
    ASSERT_EQ(f.notifier.messages.size(), 1U);
    EXPECT_EQ(f.notifier.messages[0],
              "ZV-KOB could not save these settings: BAT_DAEMON_RUN_COMMAND_TEXTBOX, "
              "QT_NAME_TEXTBOX.\n\nAccess is denied.");
    EXPECT_EQ(w.close_button.text(), "Cancel");
    EXPECT_EQ(f.store.values["DAEMOND_NAME_TEXTBOX"], "bitcoind.exe") << "the rest is saved";
    EXPECT_EQ(main.qt.image, "bitcoin-qt.exe") << "and handed over";
}

}  // namespace
}  // namespace zvkob
