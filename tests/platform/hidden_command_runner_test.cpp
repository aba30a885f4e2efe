// Starting a real batch file hidden under wine, and commands that cannot start.
#include "platform/win32/processes/hidden_command_runner.hpp"

#include <gtest/gtest.h>

#include "driver.hpp"

namespace zvkob::win32 {
namespace {

using namespace zvkob::e2e;

// The process started is kept: how it ended can be read afterwards.
TEST(HiddenCommandRunner, RunsABatchFileByItsPathAndKeepsItsProcess) {
    ScratchFolder folder(L"hidden runner (x) & y");  // characters the interpreter would split at
    const std::wstring marker = folder.file(L"marker.txt");
    write_file(folder.file(L"ZVKOB-QT.BAT"),
               "echo started> \"" + narrow(marker) + "\"\r\nexit /b 7\r\n");
    const Start started = HiddenCommandRunner().run_hidden(narrow(folder.file(L"ZVKOB-QT.BAT")));
    ASSERT_TRUE(started.started()) << started.failure;
    EXPECT_TRUE(wait_until([&] { return read_file(marker) == "started\r\n"; }, 10s));
    EXPECT_TRUE(wait_until(
        [&] {
            const auto end = started.process->end();
            return end && end->exit_code == 7UL;
        },
        10s));
}

TEST(HiddenCommandRunner, ACommandThatCannotStartGivesTheSystemsReason) {
    for (const std::string command :
         {"C:\\zvkob-tests\\nowhere\\ZVKOB-QT.BAT", "BAT_QT_RUN_COMMAND_TEXTBOX", "   "}) {
        const Start started = HiddenCommandRunner().run_hidden(command);
        EXPECT_FALSE(started.started()) << command;
        EXPECT_FALSE(started.failure.empty()) << command;
    }
    EXPECT_EQ(HiddenCommandRunner().run_hidden("").failure, "There is no command to run.");
}

}  // namespace
}  // namespace zvkob::win32
