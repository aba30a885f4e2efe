// The services that guard the node, over the real Win32 under wine: the
// node's log found and read while the node holds it open, and the history.
#include <gtest/gtest.h>

#include <regex>

#include "driver.hpp"
#include "platform/win32/win32_file_system.hpp"
#include "platform/win32/win32_history.hpp"

namespace zvkob::win32 {
namespace {

using namespace zvkob::e2e;

TEST(NodeLogs, AreFoundOneFolderDownAndTheirEndIsReadWhileTheNodeWrites) {
    ScratchFolder data(L"node logs");
    CreateDirectoryW(data.file(L"testnet3").c_str(), nullptr);
    write_file(data.file(L"debug.log"), "old main network log\n");
    const std::string big(100'000, 'x');
    write_file(data.file(L"testnet3\\debug.log"), big + "\nShutdown: done\n");
    HANDLE held = CreateFileW(data.file(L"testnet3\\debug.log").c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                              nullptr);  // as the running node keeps it
    Win32FileSystem files;
    const auto found = files.files_named(narrow(data.path()), "debug.log");
    EXPECT_EQ(found.size(), 2U);
    const FileEnd end = files.read_end(narrow(data.file(L"testnet3\\debug.log")), 20);
    EXPECT_EQ(end.failure, "");
    EXPECT_EQ(end.text, "xxxx\nShutdown: done\n");
    CloseHandle(held);
    EXPECT_NE(files.read_end(narrow(data.file(L"nowhere.log")), 20).failure, "");
}

TEST(HistoryFile, HoldsOneLineAnEventWithTheLocalTime) {
    const std::string instance = "ZV-KOB-platform-test";
    std::wstring path;
    {
        Win32History history(instance);
        path = widen(history.path());
        DeleteFileW(path.c_str());
        history.record("Jos\xC3\xA9's node started.");
        history.record("two\nlines");
    }  // writes what waits before it goes
    const std::string written = read_file(path);
    DeleteFileW(path.c_str());
    const std::regex lines(
        "\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d Jos\xC3\xA9's node "
        "started\\.\r\n"
        "\\S+ two \\| lines\r\n");
    EXPECT_TRUE(std::regex_match(written, lines)) << written;
}

}  // namespace
}  // namespace zvkob::win32
