#include "settings_window/run_command.hpp"

#include <gtest/gtest.h>

#include "settings_fakes.hpp"

namespace zvkob {
namespace {

namespace example = testing::worked_example;
constexpr RunCommandFields worked_qt{example::qt_folder, "bitcoin-qt.exe", example::conf_file,
                                     example::data_folder, example::wallet_argument};

TEST(RunCommand, WorkedExampleComesOutByteForByte) {
    const std::string qt = compose_run_command(worked_qt);
    EXPECT_EQ(qt, testing::worked_qt_line);
    EXPECT_EQ(qt.size(), 124U);

    RunCommandFields daemon = worked_qt;
    daemon.program_folder = example::daemon_folder;
    daemon.program_file = "bitcoind.exe";
    const std::string d = compose_run_command(daemon);
    EXPECT_EQ(d, testing::worked_daemon_line);
    EXPECT_EQ(d.size(), 129U);

    RunCommandFields no_wallet = worked_qt;
    no_wallet.disable_wallet_argument = "";
    EXPECT_TRUE(compose_run_command(no_wallet).ends_with("-datadir=C:\\BC-ROOT\\BTC-BC"));
}

TEST(RunCommand, EmptyFieldsContributeNothingAndTheFixedPiecesStay) {
    EXPECT_EQ(compose_run_command({}), "call \"\\\" -conf= -datadir=");
}

TEST(RunCommand, AProgramFolderIsTakenLiterallyEvenWithATrailingBackslash) {
    RunCommandFields f = worked_qt;
    f.program_folder = "C:\\Program Files\\Bitcoin\\";
    EXPECT_TRUE(compose_run_command(f).starts_with(
        "call \"C:\\Program Files\\Bitcoin\\\\bitcoin-qt.exe\" -conf="));
}

TEST(RunCommand, AValueWithASpaceOrASpecialCharacterIsQuotedAfterTheEqualsSign) {
    RunCommandFields f = worked_qt;
    f.data_folder = "C:\\Users\\Ann Lee\\AppData\\Roaming\\Node";
    f.conf_file = "C:\\BC(2)\\a=b.conf";
    EXPECT_EQ(compose_run_command(f),
              "call \"C:\\Program Files\\Bitcoin\\bitcoin-qt.exe\" -conf=\"C:\\BC(2)\\a=b.conf\" "
              "-datadir=\"C:\\Users\\Ann Lee\\AppData\\Roaming\\Node\" -disablewallet=0");
    for (const char special : std::string_view(" \t&|<>^(),;=")) {
        const std::string value = std::string("C:\\a") + special + "b";
        EXPECT_EQ(command_line_value(value), "\"" + value + "\"") << "character " << special;
    }
    EXPECT_EQ(command_line_value("C:\\BC-ROOT\\Jos\xC3\xA9"), "C:\\BC-ROOT\\Jos\xC3\xA9")
        << "anything else stays as typed";
}

TEST(RunCommand, TrailingBackslashesInsideQuotesAreDoubledSoTheQuoteStillCloses) {
    EXPECT_EQ(command_line_value("D:\\My Node\\"), "\"D:\\My Node\\\\\"");
    EXPECT_EQ(command_line_value("D:\\a b\\\\"), "\"D:\\a b\\\\\\\\\"");
    EXPECT_EQ(command_line_value("D:\\"), "D:\\") << "unquoted, a backslash escapes nothing";
    EXPECT_EQ(command_line_value(""), "");
}

TEST(RunCommand, TimersRewriteTheirOwnFieldFromTheCurrentTexts) {
    testing::SettingsWindowFixture f;
    SettingsWindow& w = f.window;
    testing::fill_worked_example(w);
    w.wallet.click();
    w.qt_composer.tick();
    EXPECT_EQ(w.qt_run_command.text(), testing::worked_qt_line);
    EXPECT_EQ(w.daemon_run_command.text(), "") << "each timer writes only its own line";
    w.daemon_composer.tick();
    EXPECT_EQ(w.daemon_run_command.text(), testing::worked_daemon_line);

    w.qt_run_command.set_text("typed over");
    w.qt_composer.tick();
    EXPECT_EQ(w.qt_run_command.text(), testing::worked_qt_line);
}

}  // namespace
}  // namespace zvkob
