// Batch files on a real file system under wine: their exact bytes, their
// replacement as a pair, and what a node program started through one receives.
#include "platform/win32/files/win32_batch_file_writer.hpp"

#include <windows.h>

#include <gtest/gtest.h>

#include "driver.hpp"
#include "platform/win32/processes/hidden_command_runner.hpp"
#include "settings_window/run_command.hpp"
#include "tests/support/worked_example.hpp"

namespace zvkob::win32 {
namespace {

using e2e::narrow;
using e2e::read_file;
using e2e::ScratchFolder;
using namespace std::chrono_literals;

namespace example = testing::worked_example;
const std::string worked_qt = std::string(example::qt_line) + std::string(example::wallet_argument);
const std::string worked_daemon =
    std::string(example::daemon_line) + std::string(example::wallet_argument);

class BatchFiles : public ::testing::Test {
protected:
    ScratchFolder folder{L"batch-files"};
    Win32BatchFileWriter writer;
    std::wstring qt = folder.file(L"ZVKOB-QT.BAT");
    std::wstring daemon = folder.file(L"ZVKOB-D.BAT");

    Outcome write(const std::string& qt_line, const std::string& daemon_line) {
        return writer.write_both({narrow(qt), qt_line}, {narrow(daemon), daemon_line});
    }

    // Every file in the folder: nothing may be left beside the batch files.
    std::vector<std::wstring> files() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW entry{};
        HANDLE search = FindFirstFileW(folder.file(L"*").c_str(), &entry);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                    names.emplace_back(entry.cFileName);
                }
            } while (FindNextFileW(search, &entry));
            FindClose(search);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    void write_old_files() {
        e2e::write_file(qt, "old qt\r\n");
        e2e::write_file(daemon, "old daemon\r\n");
    }

    void expect_old_files_intact() {
        EXPECT_EQ(read_file(qt), "old qt\r\n");
        EXPECT_EQ(read_file(daemon), "old daemon\r\n");
        EXPECT_EQ(files(), (std::vector<std::wstring>{L"ZVKOB-D.BAT", L"ZVKOB-QT.BAT"}))
            << "nothing left beside them";
    }
};

TEST_F(BatchFiles, WorkedExampleHasItsExactBytes) {
    ASSERT_TRUE(write(worked_qt, worked_daemon).ok());
    EXPECT_EQ(read_file(qt), worked_qt + "\r\n");
    EXPECT_EQ(read_file(qt).size(), 126U);
    EXPECT_EQ(read_file(daemon), worked_daemon + "\r\n");
    EXPECT_EQ(read_file(daemon).size(), 131U);
    EXPECT_EQ(files(), (std::vector<std::wstring>{L"ZVKOB-D.BAT", L"ZVKOB-QT.BAT"}));
}

TEST_F(BatchFiles, ASecondSaveReplacesTheFilesRatherThanAppending) {
    ASSERT_TRUE(write(worked_qt, worked_daemon).ok());
    ASSERT_TRUE(write("call \"\\\" -conf= -datadir=", "").ok());
    EXPECT_EQ(read_file(qt), "call \"\\\" -conf= -datadir=\r\n");
    EXPECT_EQ(read_file(daemon), "\r\n");
}

TEST_F(BatchFiles, LettersAreWrittenInTheConsoleCodePage) {
    EXPECT_EQ(writer.code_page(), GetOEMCP());
    ASSERT_EQ(writer.code_page(), 437U) << "the test machine's console code page";
    ASSERT_TRUE(write("call \"C:\\Jos\xC3\xA9\\x.exe\"", "").ok());
    EXPECT_EQ(read_file(qt), "call \"C:\\Jos\x82\\x.exe\"\r\n") << "\xC3\xA9 is 0x82 in 437";
    EXPECT_EQ(writer.unwritable_character("C:\\Jos\xC3\xA9"), std::nullopt);
    EXPECT_EQ(writer.unwritable_character("C:\\Users\\\xC5\x81ukasz"), "\xC5\x81");
    EXPECT_EQ(writer.unwritable_character("C:\\\xE2\x82\xAC"), "\xE2\x82\xAC") << "the euro sign";
    EXPECT_EQ(writer.unwritable_character("C:\\\xF0\x9F\x99\x82"), "\xF0\x9F\x99\x82")
        << "a character outside the first plane, whole";
}

TEST_F(BatchFiles, AReadOnlyTargetLeavesBothOldFilesAsTheyWere) {
    write_old_files();
    SetFileAttributesW(daemon.c_str(), FILE_ATTRIBUTE_READONLY);
    const Outcome written = write(worked_qt, worked_daemon);
    SetFileAttributesW(daemon.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.reason(), narrow(daemon) + " is read-only. No file was changed.");
    expect_old_files_intact();
}

// Held open by another program: one that lets others read it (so its old
// content can be kept aside, but it cannot be replaced) or one that does not.
TEST_F(BatchFiles, ATargetInUseLeavesBothOldFilesAsTheyWere) {
    for (const DWORD sharing : {DWORD{0}, DWORD{FILE_SHARE_READ}}) {
        for (const std::wstring* locked : {&daemon, &qt}) {
            write_old_files();
            HANDLE holder = CreateFileW(locked->c_str(), GENERIC_READ, sharing, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(holder, INVALID_HANDLE_VALUE);
            const Outcome written = write(worked_qt, worked_daemon);
            CloseHandle(holder);
            ASSERT_FALSE(written.ok());
            EXPECT_TRUE(
                written.reason().starts_with("ZV-KOB could not replace " + narrow(*locked) + ": "))
                << written.reason();
            EXPECT_TRUE(written.reason().ends_with(" No file was changed.")) << written.reason();
            expect_old_files_intact();
        }
    }
}

TEST_F(BatchFiles, AMissingFolderWritesNothingAndSaysWhere) {
    const std::wstring missing = folder.file(L"no such folder\\ZVKOB-QT.BAT");
    const Outcome written =
        writer.write_both({narrow(missing), worked_qt}, {narrow(daemon), worked_daemon});
    ASSERT_FALSE(written.ok());
    EXPECT_TRUE(written.reason().starts_with("ZV-KOB could not write " + narrow(missing) + ": "))
        << written.reason();
    EXPECT_TRUE(files().empty()) << "not even the DAEMON file";
}

// The node program started through a written batch file receives every
// value as typed: spaces, a letter outside ASCII, characters the command
// interpreter treats specially, and a trailing backslash.
TEST(BatchFileRun, TheNodeReceivesItsArgumentsAsTyped) {
    ScratchFolder folder(L"batch-run");
    const std::wstring program_folder = folder.file(L"Program Files Jos\u00e9");
    CreateDirectoryW(program_folder.c_str(), nullptr);
    const std::wstring node = program_folder + L"\\zvkob-run-qt.exe";
    e2e::stand_in(node);

    const std::string data = "C:\\BC ROOT\\Jos\xC3\xA9 (main)\\";
    const std::string conf = "C:\\BC-CONF\\a=b,c;d&e.conf";
    const std::string line = compose_run_command(
        {narrow(program_folder), "zvkob-run-qt.exe", conf, data, " -disablewallet=1"});
    Win32BatchFileWriter writer;
    const std::string bat = narrow(folder.file(L"ZVKOB-QT.BAT"));
    ASSERT_TRUE(writer.write_both({bat, line}, {narrow(folder.file(L"ZVKOB-D.BAT")), ""}).ok());

    HiddenCommandRunner runner;
    ASSERT_TRUE(runner.run_hidden(bat).started());
    const std::wstring args = node + L".args";
    const bool recorded = e2e::wait_until([&] { return e2e::file_exists(args); }, 30s);
    e2e::kill_processes(L"zvkob-run-qt.exe");
    ASSERT_TRUE(recorded) << "the node program was not started through " << bat;
    EXPECT_EQ(read_file(args), "-conf=" + conf + "\n-datadir=" + data + "\n-disablewallet=1\n");
}

}  // namespace
}  // namespace zvkob::win32
