// The services that guard the node, over the real Win32 under wine: the
// node's log found and read while the node holds it open, the node process
// found and asked to stop, the data drive, the history, keeping the PC awake
// and the folder dialogs.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <regex>
#include <thread>
#include <vector>

#include "driver.hpp"
#include "platform/win32/files/win32_file_system.hpp"
#include "platform/win32/files/win32_folder_picker.hpp"
#include "platform/win32/processes/com_apartment.hpp"
#include "platform/win32/processes/hidden_command_runner.hpp"
#include "platform/win32/processes/one_copy_per_name.hpp"
#include "platform/win32/owners.hpp"
#include "platform/win32/win32_background_work.hpp"
#include "platform/win32/files/win32_history.hpp"
#include "platform/win32/processes/win32_node_control.hpp"
#include "platform/win32/power/win32_power_request.hpp"

namespace zvkob::win32 {
namespace {

using namespace zvkob::e2e;

// The node keeps its log open for writing: its end is read all the same, and
// a batch file is read in the console's code page.
TEST(NodeLogs, TheirEndIsReadWhileTheNodeWritesAndBatchFilesInTheConsoleCodePage) {
    ScratchFolder data(L"node logs");
    const std::string big(100'000, 'x');
    write_file(data.file(L"debug.log"), big + "\nShutdown: done\n");
    const KernelHandle held{CreateFileW(data.file(L"debug.log").c_str(), FILE_APPEND_DATA,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        0, nullptr)};  // as the running node keeps it
    Win32FileSystem files;
    const FileEnd end = files.read_end(narrow(data.file(L"debug.log")), 20);
    EXPECT_EQ(end.failure, "");
    EXPECT_EQ(end.text, "xxxx\nShutdown: done\n");
    EXPECT_FALSE(end.whole_file);
    EXPECT_TRUE(files.read_end(narrow(data.file(L"debug.log")), 200'000).whole_file);
    EXPECT_NE(files.read_end(narrow(data.file(L"nowhere.log")), 20).failure, "");

    write_file(data.file(L"ZVKOB-D.BAT"), "call \"C:\\N\x82ud\\bitcoind.exe\"\r\n");  // é in 437
    EXPECT_EQ(files.read_text(narrow(data.file(L"ZVKOB-D.BAT")), TextCoding::console),
              "call \"C:\\N\xC3\xA9ud\\bitcoind.exe\"\r\n");
    EXPECT_EQ(files.read_text(narrow(data.file(L"nowhere.conf")), TextCoding::utf8), std::nullopt);
}

// A console node started as ZV-KOB starts it: found as the child of its
// interpreter, created after it, held by its handle, and stopped by Ctrl+C on
// its console; the handle then tells its exit code and when it ended.
TEST(NodeControl, FindsTheNodeByItsInterpreterHoldsItAndStopsItWithCtrlC) {
    ScratchFolder folder(L"node control");
    const std::wstring node = stand_in(folder.file(L"zv-platform-node.exe"), true);
    write_file(folder.file(L"node.bat"),
               "call \"" + narrow(node) + "\" -datadir=\"" + narrow(folder.path()) + "\"\r\n");
    const Start start = HiddenCommandRunner().run_hidden(narrow(folder.file(L"node.bat")));
    ASSERT_NE(start.process, nullptr) << start.failure;
    const ComApartment com;
    Win32NodeControl nodes;
    ProcessList listed;
    ASSERT_TRUE(wait_until(
        [&] {
            return (listed = nodes.processes_named("zv-platform-node.exe")).processes.size() == 1;
        },
        10s))
        << listed.failure;
    const RunningProcess found = listed.processes[0];
    EXPECT_EQ(found.parent_id, start.process->id());
    const Holding held = nodes.hold(found.id);
    ASSERT_NE(held.process, nullptr) << held.failure;
    EXPECT_GE(held.process->created_ms(), start.process->created_ms());
    EXPECT_FALSE(held.process->end());
    // Windows shows the node's command line; wine shows none (as Windows does
    // for another user's node), which the unit tests take up.
    if (const std::optional<std::string> line = nodes.command_line(found.id)) {
        EXPECT_NE(line->find("-datadir=\"" + narrow(folder.path()) + "\""), std::string::npos)
            << *line;
    }
    EXPECT_FALSE(nodes.close_windows(found.id)) << "a console node has no window of its own";
    ASSERT_TRUE(stand_in_started(node)) << "it has started";
    const Outcome pressed = nodes.press_ctrl_c(found.id, start.process.get());
    EXPECT_TRUE(pressed) << pressed.reason();
    EXPECT_TRUE(wait_until([&] { return held.process->end().has_value(); }, 10s));
    EXPECT_EQ(held.process->end()->exit_code, 0UL);
    EXPECT_GE(held.process->end()->at_ms, held.process->created_ms());
    EXPECT_NE(read_file(folder.file(L"debug.log")).find("Shutdown: done"), std::string::npos);
    EXPECT_FALSE(nodes.press_ctrl_c(found.id, start.process.get())) << "gone: said, not thrown";
    EXPECT_TRUE(nodes.hold(found.id).gone);
}

// A wallet program is asked to stop by a close of its windows.
TEST(NodeControl, ClosesTheWindowsOfAWindowedNode) {
    ScratchFolder folder(L"wallet control");
    const std::wstring wallet = stand_in(folder.file(L"zv-platform-wallet.exe"));
    Process started(wallet, L"--wallet-window \"-datadir=" + folder.path() + L"\"");
    ASSERT_TRUE(stand_in_started(wallet)) << "it has started";
    Win32NodeControl nodes;
    ASSERT_TRUE(wait_until([&] { return nodes.shows_a_window(started.id()); }, 5s));
    const Outcome closed = nodes.close_windows(started.id());
    EXPECT_TRUE(closed) << closed.reason();
    EXPECT_TRUE(started.wait_for_exit(10s));
    EXPECT_NE(read_file(folder.file(L"debug.log")).find("Shutdown: done"), std::string::npos);
    EXPECT_FALSE(file_exists(wallet + L".helper-closed")) << "its hidden window got no close";
}

// Ctrl+C would reach every program on a console: with another one there, it
// is not pressed, and the other program is named.
TEST(NodeControl, DoesNotPressCtrlCOnAConsoleSharedWithAnotherProgram) {
    ScratchFolder folder(L"shared console");
    const std::wstring node = stand_in(folder.file(L"zv-platform-node.exe"), true);
    const std::wstring other = stand_in(folder.file(L"zv-platform-shell.exe"), true);
    write_file(folder.file(L"node.bat"),
               "start \"\" /b \"" + narrow(other) + "\"\r\ncall \"" + narrow(node) + "\"\r\n");
    const Start start = HiddenCommandRunner().run_hidden(narrow(folder.file(L"node.bat")));
    ASSERT_NE(start.process, nullptr) << start.failure;
    Win32NodeControl nodes;
    ProcessList listed;
    ASSERT_TRUE(wait_until(
        [&] {
            listed = nodes.processes_named("zv-platform-node.exe");
            return listed.processes.size() == 1 && file_exists(node + L".args") &&
                   file_exists(other + L".args");
        },
        10s))
        << "both have started";
    const Outcome pressed = nodes.press_ctrl_c(listed.processes[0].id, start.process.get());
    EXPECT_FALSE(pressed);
    EXPECT_NE(pressed.reason().find("zv-platform-shell.exe (process "), std::string::npos)
        << pressed.reason();
    EXPECT_TRUE(process_runs(L"zv-platform-node.exe") && process_runs(L"zv-platform-shell.exe"))
        << "nothing was stopped";
    kill_processes(L"zv-platform-node.exe");
    kill_processes(L"zv-platform-shell.exe");
}

// Only the interpreter ZV-KOB started, through the handle it has held since,
// is ever ended; the same process opened by its number is not.
TEST(NodeControl, EndsOnlyAnInterpreterItStartedAndHeld) {
    ScratchFolder folder(L"left interpreter");
    const std::wstring node = stand_in(folder.file(L"zv-platform-node.exe"), true);
    write_file(folder.file(L"node.bat"), "call \"" + narrow(node) + "\"\r\n");
    const Start start = HiddenCommandRunner().run_hidden(narrow(folder.file(L"node.bat")));
    ASSERT_NE(start.process, nullptr) << start.failure;
    Win32NodeControl nodes;
    ASSERT_TRUE(stand_in_started(node));
    EXPECT_EQ(nodes.owner(start.process->id()), ProcessOwner::this_user_here);
    const Holding opened = nodes.hold(start.process->id());
    ASSERT_NE(opened.process, nullptr) << opened.failure;
    EXPECT_FALSE(nodes.end_left_interpreter(*opened.process));
    EXPECT_FALSE(start.process->end()) << "it runs on";
    EXPECT_TRUE(nodes.end_left_interpreter(*start.process)) << "hidden, started and held";
    EXPECT_TRUE(wait_until([&] { return start.process->end().has_value(); }, 5s));
    kill_processes(L"zv-platform-node.exe");
}

// A copy that is closing gives way as soon as its window is gone: a copy of
// the same name started meanwhile waits for that, then opens.
TEST(OneCopyPerName, ACopyThatGaveWayLetsTheNextOneOpen) {
    OneCopyPerName closing("ZV-KOB-claim-test", "no such window");
    ASSERT_TRUE(closing.only_copy());
    const auto started = Clock::now();
    std::atomic<int> next_opens = -1;  // not yet decided
    std::thread next([&] {
        next_opens = OneCopyPerName("zv-kob-CLAIM-test", "no such window").only_copy() ? 1 : 0;
    });
    EXPECT_FALSE(wait_until([&] { return next_opens != -1; }, 1s))
        << "the next copy waits while the name is held and no window answers for it";
    closing.give_way();
    next.join();
    EXPECT_EQ(next_opens, 1);
    EXPECT_LT(Clock::now() - started, 4s) << "it opened as the name was given up, not after "
                                             "waiting its five seconds out";
}

// At exit the piece that runs is waited for before the services it uses go;
// one held up by a path that does not answer is told within the bound.
TEST(BackgroundWork, AtExitThePieceThatRunsIsWaitedForWithinABound) {
    EventGate gate([](std::string_view what) { ADD_FAILURE() << what; });
    const auto owner = std::make_shared<char>();
    const KernelHandle begun(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const KernelHandle answered(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    bool read = false;
    Win32BackgroundWork slow(gate);
    slow.run(
        [&] {
            SetEvent(begun.get());
            Sleep(300);  // a slow drive
            read = true;
        },
        [] {}, owner);
    ASSERT_EQ(WaitForSingleObject(begun.get(), 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(slow.finish_within(5s));
    EXPECT_TRUE(read) << "waited for before anything it uses goes";

    ResetEvent(begun.get());
    Win32BackgroundWork stuck(gate);
    stuck.run(
        [&] {
            SetEvent(begun.get());
            WaitForSingleObject(answered.get(), INFINITE);
        },
        [] {}, owner);
    ASSERT_EQ(WaitForSingleObject(begun.get(), 5000), WAIT_OBJECT_0);
    const auto asked = Clock::now();
    EXPECT_FALSE(stuck.finish_within(300ms));
    EXPECT_LT(Clock::now() - asked, 3s);
    SetEvent(answered.get());
    EXPECT_TRUE(stuck.finish_within(5s));
}

// Each lane takes its own pieces: one held for minutes (a wallet backup on a
// busy node) delays neither the node's log nor a stop. At exit a piece that
// never began is dropped, and says so.
TEST(BackgroundWork, ALaneThatWaitsHoldsUpNoOther) {
    EventGate gate([](std::string_view) {});
    const auto owner = std::make_shared<char>();
    const KernelHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const KernelHandle stopped(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    Win32BackgroundWork work(gate);
    work.run([&] { WaitForSingleObject(release.get(), INFINITE); }, [] {}, owner,
             Lane::wallet_backup);
    std::atomic<bool> second_ran = false;
    std::atomic<int> dropped = 0;
    work.run([&] { second_ran = true; }, [] {}, owner, Lane::wallet_backup, [&] { ++dropped; });
    std::atomic<int> readings = 0;
    const auto began = Clock::now();
    for (int reading = 0; reading < 5; ++reading) {
        work.run([&] { ++readings; }, [] {}, owner, Lane::disk);
    }
    work.run([&] { SetEvent(stopped.get()); }, [] {}, owner, Lane::node_stop);
    EXPECT_EQ(WaitForSingleObject(stopped.get(), 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(wait_until([&] { return readings == 5; }, 5s));
    EXPECT_LT(Clock::now() - began, 2s) << "not behind the backup";

    EXPECT_FALSE(work.finish_within(300ms)) << "the backup still runs";
    EXPECT_EQ(dropped, 1) << "the piece behind it never began, and said so";
    SetEvent(release.get());
    EXPECT_TRUE(work.finish_within(5s));
    EXPECT_FALSE(second_ran);
}

// One folder however written, an 8.3 short name too, resolves to one name.
TEST(DataDrive, OneFolderWrittenManyWaysResolvesToOneName) {
    ScratchFolder folder(L"folder names");
    const std::wstring chain = folder.file(L"A Long Chain Folder");
    CreateDirectoryW(chain.c_str(), nullptr);
    wchar_t short_name[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameW(chain.c_str(), short_name, MAX_PATH), 0U);
    const std::string resolved = Win32FileSystem().resolve_folder(narrow(chain));
    for (const std::string& written : {narrow(short_name), "\\\\?\\" + narrow(chain) + "\\",
                                       narrow(folder.path()) + "/./x/../a long chain FOLDER"}) {
        EXPECT_EQ(Win32FileSystem().resolve_folder(written), resolved) << written;
    }
    EXPECT_NE(resolved.find("a long chain folder"), std::string::npos) << resolved;
}

TEST(DataDrive, TellsFoldersAndFreeSpace) {
    ScratchFolder folder(L"data drive");
    write_file(folder.file(L"file"), "x");
    Win32FileSystem files;
    EXPECT_TRUE(files.is_folder(narrow(folder.path())));
    EXPECT_FALSE(files.is_folder(narrow(folder.file(L"file"))));
    EXPECT_FALSE(files.is_folder(narrow(folder.file(L"nowhere"))));
    const FreeSpace free = files.free_space(narrow(folder.path()));
    EXPECT_EQ(free.failure, "");
    EXPECT_GT(free.bytes, 0U);
    EXPECT_NE(files.free_space("Q:\\nowhere").failure, "");
}

// The node's data folder is walked for its size, in time, never through a
// link that leads back into it.
TEST(DataDrive, TellsAFoldersSizeWithoutFollowingLinks) {
    ScratchFolder folder(L"folder size");
    CreateDirectoryW(folder.file(L"blocks").c_str(), nullptr);
    write_file(folder.file(L"blocks\\blk00000.dat"), std::string(1000, 'b'));
    write_file(folder.file(L"debug.log"), "0123456789");
    const std::wstring loop = folder.file(L"loop");
    const bool linked = CreateSymbolicLinkW(loop.c_str(), folder.path().c_str(),
                                            SYMBOLIC_LINK_FLAG_DIRECTORY) != FALSE;
    Win32FileSystem files;
    const FolderSize size = files.folder_size(narrow(folder.path()), 10'000);
    EXPECT_EQ(size.failure, "");
    EXPECT_TRUE(size.complete);
    EXPECT_EQ(size.bytes, 1010U) << (linked ? "with a link back" : "no link could be made");
    EXPECT_FALSE(files.folder_size(narrow(folder.path()), 0).complete);
    EXPECT_NE(files.folder_size("Q:\\nowhere", 1000).failure, "");
    RemoveDirectoryW(loop.c_str());
}

// What the power request asks of Windows, through a stand-in function table.
std::vector<std::string> power_calls;
HANDLE next_request = reinterpret_cast<HANDLE>(0x100);
DWORD create_error = ERROR_SUCCESS;

std::string handle_name(HANDLE handle) {
    return std::to_string(reinterpret_cast<std::uintptr_t>(handle));
}

PowerFunctions stand_in_power() {
    power_calls.clear();
    PowerFunctions functions;
    functions.create_request = [](PREASON_CONTEXT context) -> HANDLE {
        power_calls.push_back("create v" + std::to_string(context->Version) + " flags " +
                              std::to_string(context->Flags) + " " +
                              narrow(context->Reason.SimpleReasonString));
        if (create_error != ERROR_SUCCESS) {
            SetLastError(create_error);
            return INVALID_HANDLE_VALUE;
        }
        next_request = reinterpret_cast<HANDLE>(reinterpret_cast<std::uintptr_t>(next_request) + 1);
        return next_request;
    };
    functions.set_request = [](HANDLE request, POWER_REQUEST_TYPE type) -> BOOL {
        power_calls.push_back("set " + handle_name(request) + " type " + std::to_string(type));
        return TRUE;
    };
    functions.clear_request = [](HANDLE request, POWER_REQUEST_TYPE type) -> BOOL {
        power_calls.push_back("clear " + handle_name(request) + " type " + std::to_string(type));
        return TRUE;
    };
    functions.close_handle = [](HANDLE handle) -> BOOL {
        power_calls.push_back("close " + handle_name(handle));
        return TRUE;
    };
    functions.set_thread_state = [](EXECUTION_STATE state) -> EXECUTION_STATE {
        power_calls.push_back("thread state " + std::to_string(state));
        return ES_CONTINUOUS;
    };
    return functions;
}

TEST(PowerRequest, HoldsWithItsReasonSetsTheNewBeforeClearingTheOldAndLetsGoOnDestruction) {
    next_request = reinterpret_cast<HANDLE>(0x100);
    create_error = ERROR_SUCCESS;
    {
        Win32PowerRequest request(stand_in_power());
        EXPECT_EQ(request.hold("ZV-KOB at 1").means, AwakeMeans::power_request);
        request.hold("ZV-KOB at 1");
        request.hold("ZV-KOB at 2");
    }
    const std::vector<std::string> expected = {"create v0 flags 1 ZV-KOB at 1",
                                               "set 257 type 1",  // PowerRequestSystemRequired
                                               "create v0 flags 1 ZV-KOB at 2",
                                               "set 258 type 1",
                                               "clear 257 type 1",
                                               "close 257",
                                               "clear 258 type 1",
                                               "close 258"};
    EXPECT_EQ(power_calls, expected);
}

// wine 8 has no power requests: the thread's execution state, never the display's.
TEST(PowerRequest, FallsBackToTheThreadsExecutionStateWhereRequestsAreMissing) {
    create_error = ERROR_CALL_NOT_IMPLEMENTED;
    {
        Win32PowerRequest request(stand_in_power());
        EXPECT_EQ(request.hold("ZV-KOB at 1").means, AwakeMeans::thread_state);
        request.hold("ZV-KOB at 2");
        request.let_go();
        request.let_go();
    }
    const std::vector<std::string> expected = {
        "create v0 flags 1 ZV-KOB at 1",
        "thread state " + std::to_string(ES_CONTINUOUS | ES_SYSTEM_REQUIRED),
        "thread state " + std::to_string(ES_CONTINUOUS)};
    EXPECT_EQ(power_calls, expected);
    create_error = ERROR_ACCESS_DENIED;
    Win32PowerRequest refused(stand_in_power());
    const AwakeHold hold = refused.hold("ZV-KOB at 1");
    EXPECT_EQ(hold.means, AwakeMeans::none);
    EXPECT_NE(hold.failure.find("Windows refused the power request"), std::string::npos);
    EXPECT_FALSE(refused.holding());

    // The real one under wine holds the window thread's state and lets it go.
    Win32PowerRequest real;
    const AwakeHold held = real.hold("ZV-KOB keeps this PC awake while the node catches up");
    EXPECT_NE(held.means, AwakeMeans::none) << held.failure;
    if (held.means == AwakeMeans::thread_state) {
        EXPECT_EQ(SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED),
                  static_cast<EXECUTION_STATE>(ES_CONTINUOUS | ES_SYSTEM_REQUIRED));
    }
    real.let_go();
    EXPECT_FALSE(real.holding());
    if (held.means == AwakeMeans::thread_state) {
        EXPECT_EQ(SetThreadExecutionState(ES_CONTINUOUS),
                  static_cast<EXECUTION_STATE>(ES_CONTINUOUS));
    }
}

// A folder dialog of this process with this caption, answered from another
// thread by window messages once it is ready: the Explorer-style one by its
// name box, the tree by its selection. One that is not ready in time is
// closed, so that the test fails rather than waits in it for ever.
void answer_folder_dialog(const wchar_t* caption, const std::wstring& typed, int button) {
    HWND dialog = nullptr;
    HWND ready = nullptr;
    const bool answerable = wait_until(
        [&] {
            dialog = FindWindowW(L"#32770", caption);
            ready = typed.empty() ? FindWindowExW(dialog, nullptr, L"SysTreeView32", nullptr)
                                  : FindWindowExW(dialog, nullptr, L"Edit", nullptr);
            return ready != nullptr &&
                   (!typed.empty() || SendMessageW(ready, TVM_GETNEXTITEM, TVGN_CARET, 0) != 0);
        },
        20s);
    EXPECT_TRUE(answerable) << narrow(caption) << " was not ready to answer";
    if (answerable && !typed.empty()) {
        SendMessageW(ready, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    }
    if (answerable) {
        SendMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
    }
    EXPECT_TRUE(wait_until([&] { return FindWindowW(L"#32770", caption) == nullptr; }, 10s));
    if (const HWND left = FindWindowW(L"#32770", caption)) {
        PostMessageW(left, WM_CLOSE, 0, 0);
    }
}

TEST(FolderPicker, EachDialogGivesTheFolderChosenAndNothingWhenCancelled) {
    ScratchFolder folder(L"backup folder");
    const ComApartment com;
    std::thread user([&] { answer_folder_dialog(L"Back up to", folder.path(), IDOK); });
    const FolderChoice typed = Win32FolderPicker(FolderDialog::newer).pick("Back up to", "");
    user.join();
    EXPECT_EQ(typed.folder, narrow(folder.path())) << typed.failure;

    user = std::thread([&] { answer_folder_dialog(L"Browse for Folder", L"", IDOK); });
    const FolderChoice opened_on =
        Win32FolderPicker(FolderDialog::classic).pick("Back up to", narrow(folder.path()));
    user.join();
    EXPECT_EQ(opened_on.folder, narrow(folder.path())) << opened_on.failure;

    user = std::thread([&] { answer_folder_dialog(L"Browse for Folder", L"", IDCANCEL); });
    const FolderChoice cancelled =
        Win32FolderPicker(FolderDialog::classic).pick("Back up to", narrow(folder.path()));
    user.join();
    EXPECT_EQ(cancelled.folder, std::nullopt);
    EXPECT_EQ(cancelled.failure, "");
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

    // The worker's lanes record what became of a request as it is known.
    {
        Win32History history(instance);
        std::vector<std::thread> lanes;
        for (int lane = 0; lane < 4; ++lane) {
            lanes.emplace_back([&history, lane] {
                for (int line = 0; line < 50; ++line) {
                    history.record("lane " + std::to_string(lane));
                }
            });
        }
        for (std::thread& lane : lanes) {
            lane.join();
        }
    }
    const std::string recorded = read_file(path);
    DeleteFileW(path.c_str());
    EXPECT_EQ(std::count(recorded.begin(), recorded.end(), '\n'), 200);
}

// A parent may start ZV-KOB without %LOCALAPPDATA%: the shell tells where it is.
TEST(HistoryFile, IsFoundWithoutTheLocalAppDataVariable) {
    const std::string found = Win32History("ZV-KOB-platform-test").path();
    wchar_t variable[MAX_PATH] = {};
    GetEnvironmentVariableW(L"LOCALAPPDATA", variable, MAX_PATH);
    SetEnvironmentVariableW(L"LOCALAPPDATA", nullptr);
    Win32History history("ZV-KOB-platform-test");
    SetEnvironmentVariableW(L"LOCALAPPDATA", variable);
    EXPECT_EQ(history.failure(), std::nullopt);
    EXPECT_EQ(history.path(), found);
}

}  // namespace
}  // namespace zvkob::win32
