#include "settings_window/save_bat_files.hpp"

#include <gtest/gtest.h>

#include "settings_fakes.hpp"
#include "settings_window/open_unload.hpp"
#include "settings_window/settings_window_layout.hpp"

namespace zvkob {
namespace {

using testing::CallLog;

struct SaveBatFilesTest : testing::OpenSettingsWindow {
    SaveBatFilesTest() {
        testing::fill_worked_example(w);
        w.program_folder.set_text("C:\\TARLOWEN\\ZV-KOB");
        w.wallet.click();
    }

    void save_to_registry_then_take_log() {
        w.save_to_registry_button.click();
        w.close_button.set_text("Cancel");  // to see what Save .BAT Files alone does
        f.take_log();
    }
};

TEST_F(SaveBatFilesTest, WritesTheWorkedExampleToThePathsOfTheLastSaveToRegistry) {
    save_to_registry_then_take_log();
    w.program_folder.set_text("D:\\Elsewhere");
    w.save_bat_files_button.click();
    EXPECT_EQ(f.log, CallLog{"write C:\\TARLOWEN\\ZV-KOB\\ZVKOB-QT.BAT and "
                             "C:\\TARLOWEN\\ZV-KOB\\ZVKOB-D.BAT"});
    ASSERT_EQ(f.batch_files.written.size(), 2U);
    EXPECT_EQ(f.batch_files.written[0].line, testing::worked_qt_line);
    EXPECT_EQ(f.batch_files.written[1].line, testing::worked_daemon_line);
    EXPECT_EQ(w.close_button.text(), "Close");
}

TEST_F(SaveBatFilesTest, WritesWhatTheFieldsSayNowEvenBeforeTheNextTick) {
    save_to_registry_then_take_log();
    w.data_folder.set_text("E:\\Chain");
    w.save_bat_files_button.click();
    ASSERT_EQ(f.batch_files.written.size(), 2U);
    EXPECT_TRUE(f.batch_files.written[0].line.ends_with("-datadir=E:\\Chain -disablewallet=0"));
    EXPECT_EQ(w.qt_run_command.text(), f.batch_files.written[0].line)
        << "the window shows what was written";
}

TEST_F(SaveBatFilesTest, BeforeSaveToRegistryWritesNothingAndSaysWhatToDo) {
    f.take_log();
    w.save_bat_files_button.click();
    EXPECT_EQ(f.log, CallLog{"message"}) << "no file named BAT_QT_RUN_COMMAND_TEXTBOX appears";
    EXPECT_NE(f.notifier.messages.at(0).find("\"Save To Registry\" first"), std::string::npos);
    EXPECT_EQ(w.close_button.text(), "Cancel");
}

TEST_F(SaveBatFilesTest, AFailedWriteIsReportedAndTheCaptionStays) {
    save_to_registry_then_take_log();
    f.batch_files.failure = "C:\\TARLOWEN\\ZV-KOB\\ZVKOB-D.BAT is read-only. No file was changed.";
    w.save_bat_files_button.click();
    ASSERT_EQ(f.notifier.messages.size(), 1U);
    EXPECT_EQ(f.notifier.messages[0],
              "ZV-KOB could not save the batch files.\n\nC:\\TARLOWEN\\ZV-KOB\\ZVKOB-D.BAT is "
              "read-only. No file was changed.");
    EXPECT_EQ(w.close_button.text(), "Cancel");
}

// A field that a batch line cannot carry: nothing is written, and the
// message names the field and what is wrong with it.
struct Refusal {
    const ControlSpec* field;
    const char* text;
    const char* message;
};

class SaveBatFilesRefusalTest : public SaveBatFilesTest,
                                public ::testing::WithParamInterface<Refusal> {};

TEST_P(SaveBatFilesRefusalTest, WritesNothingAndNamesTheField) {
    const Refusal& r = GetParam();
    save_to_registry_then_take_log();
    w.controls.of(*r.field).set_text(r.text);
    w.save_bat_files_button.click();
    EXPECT_EQ(f.log, CallLog{"message"});
    ASSERT_EQ(f.notifier.messages.size(), 1U);
    EXPECT_EQ(f.notifier.messages[0], std::string(r.message) + "\n\nNo batch file was written.");
    EXPECT_EQ(w.close_button.text(), "Cancel");
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SaveBatFilesRefusalTest,
    ::testing::Values(
        Refusal{&settings_layout::data_folder, "C:\\100%\\BTC",
                "The BLOCKCHAIN FOLDER contains a percent sign (%), which the command "
                "interpreter would change when it runs the batch file, so the node would not "
                "get the path as typed. Please use a path without it."},
        Refusal{&settings_layout::conf_file, "C:\\a^b\\bitcoin.conf",
                "The WALLET.CONF File Location contains a caret (^), which the command "
                "interpreter would change when it runs the batch file, so the node would not "
                "get the path as typed. Please use a path without it."},
        Refusal{&settings_layout::qt_folder, "C:\\Program Files\\Bitcoin\r\ndel x",
                "The QT Folder contains a carriage return, which no Windows path can hold."},
        Refusal{&settings_layout::daemon_file, "bitcoind.exe\" & calc",
                "The DAEMON Filename contains the character \", which no Windows path can hold."},
        Refusal{&settings_layout::data_folder,
                "C:\\Users\\Zbigniew \xC5\x81\xC3\xB3"
                "d\xC5\xBA",
                "The BLOCKCHAIN FOLDER contains the character \xC5\x81, which a batch file cannot "
                "hold: the command interpreter reads batch files in code page 437."}));

// The batch files are run by their path: a folder the interpreter would
// change, or no path can hold, is refused; parentheses and & are fine.
TEST_F(SaveBatFilesTest, TheZvKobFolderIsCheckedAsSaved) {
    for (const char* folder : {"C:\\100%\\ZV-KOB", "C:\\a^b", "C:\\a\"b", "C:\\a<b", "C:\\a>b",
                               "C:\\a|b", "C:\\a?b", "C:\\a*b", "C:\\a\tb"}) {
        w.program_folder.set_text(folder);
        save_to_registry_then_take_log();
        f.notifier.messages.clear();
        w.save_bat_files_button.click();
        EXPECT_EQ(f.log, CallLog{"message"}) << folder;
        EXPECT_TRUE(f.notifier.messages.at(0).starts_with("The ZV-KOB FOLDER contains ")) << folder;
    }
    w.program_folder.set_text("D:\\Nodes (BTC) & Co\\ZV-KOB");
    save_to_registry_then_take_log();
    w.program_folder.set_text("C:\\100%\\typed since");
    w.save_bat_files_button.click();
    EXPECT_EQ(w.close_button.text(), "Close");
    EXPECT_EQ(f.batch_files.written.at(0).path, "D:\\Nodes (BTC) & Co\\ZV-KOB\\ZVKOB-QT.BAT");
}

TEST_F(SaveBatFilesTest, RefusesAProgramNameTheWatcherCannotSee) {
    save_to_registry_then_take_log();
    w.qt_file.set_text("bitcoin-qt");
    w.save_bat_files_button.click();
    EXPECT_EQ(f.log, CallLog{"message"});
    EXPECT_TRUE(f.notifier.messages.at(0).starts_with("The QT Filename \"bitcoin-qt\" is not"));
}

// The node may be installed later: a missing program is a question.
TEST_F(SaveBatFilesTest, AsksWhetherToWriteWhenAProgramIsNotThere) {
    save_to_registry_then_take_log();
    f.files.missing = {"C:\\Program Files\\Bitcoin\\Daemon\\bitcoind.exe"};
    f.notifier.answer = false;
    w.save_bat_files_button.click();
    EXPECT_EQ(f.take_log(), CallLog{"question, no"});
    EXPECT_EQ(f.notifier.messages.at(0),
              "There is no program file at\nC:\\Program Files\\Bitcoin\\Daemon\\bitcoind.exe\n\n"
              "Write the batch files anyway? (Choose Yes if you will install the node there "
              "later.)");
    EXPECT_EQ(w.close_button.text(), "Cancel");

    f.notifier.answer = true;
    w.save_bat_files_button.click();
    EXPECT_EQ(f.take_log(), (CallLog{"question, yes",
                                     "write C:\\TARLOWEN\\ZV-KOB\\ZVKOB-QT.BAT and "
                                     "C:\\TARLOWEN\\ZV-KOB\\ZVKOB-D.BAT"}));
}

TEST_F(SaveBatFilesTest, ALetterTheCodePageHoldsIsWritten) {
    save_to_registry_then_take_log();
    w.data_folder.set_text("C:\\Users\\Jos\xC3\xA9\\Node");
    w.save_bat_files_button.click();
    EXPECT_TRUE(f.notifier.messages.empty());
    EXPECT_EQ(w.close_button.text(), "Close");
}

TEST_F(SaveBatFilesTest, ALineLongerThanTheInterpreterTakesIsRefused) {
    save_to_registry_then_take_log();
    // The DAEMON line is 5 characters longer than the QT line: make it one too many.
    const std::size_t room = 8191 - std::string(testing::worked_daemon_line).size();
    w.daemon_file.set_text(std::string(room, 'd') + "bitcoind.exe");
    w.save_bat_files_button.click();
    EXPECT_TRUE(f.notifier.messages.empty()) << "8191 characters fit";

    w.daemon_file.set_text(std::string(room + 1, 'd') + "bitcoind.exe");
    w.close_button.set_text("Cancel");
    w.save_bat_files_button.click();
    ASSERT_EQ(f.notifier.messages.size(), 1U);
    EXPECT_EQ(f.notifier.messages[0],
              "The run command for ZVKOB-D.BAT is 8192 characters long; the command interpreter "
              "takes at most 8191.\n\nNo batch file was written.");
    EXPECT_EQ(w.close_button.text(), "Cancel");
}

}  // namespace
}  // namespace zvkob
