// The real ZV-KOB.exe under wine on a virtual screen: its main window as a
// user first meets it, what it leaves in the registry, and its copies.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

#include "driver.hpp"
#include "layout_expectations.hpp"
#include "main_window/main_window_layout.hpp"

namespace zvkob::e2e {
namespace {

const WindowSpec& layout = main_window_layout();

// What each visible control reads right after start-up (the status labels
// may already show the first probe).
const std::map<const ControlSpec*, std::set<std::wstring>> first_captions{
    {&main_layout::always_on_top, {L"Always On Top"}},
    {&main_layout::settings_button, {L"Settings"}},
    {&main_layout::launch_button, {L"LAUNCH"}},
    {&main_layout::daemon_chosen, {L"DAEMON"}},
    {&main_layout::qt_chosen, {L"QT"}},
    {&main_layout::inert_run_bat, {L"RUN .BAT"}},
    {&main_layout::start_stop_button, {L"START"}},
    {&main_layout::auto_start, {L"Auto Start"}},
    {&main_layout::auto_close, {L"Auto Close"}},
    {&main_layout::countdown_display, {L"-- --"}},
    {&main_layout::daemon_status, {L"!!! NOT MONITORING !!!", L"!!! DAEMON STOPPED !!!"}},
    {&main_layout::qt_status, {L"!!! NOT MONITORING !!!", L"!!! QT STOPPED !!!"}},
    {&main_layout::title, {L"ZV-KOB"}},
    {&main_layout::instance_label, {L"ZV-KOB"}},
};

const Section first_start_settings{
    {L"MAIN-Left", L"1000"},
    {L"MAIN-Top", L"1000"},
    {L"USE_QT_BAT_TICKBOX", L"0"},
    {L"USE_DAEMON_BAT_TICKBOX", L"0"},
    {L"AlwaysOnTopTimer_TICKBOX", L"1"},
    {L"AUTOSTART_TICKBOX", L"0"},
    {L"AUTOCLOSE_TIMER_TICKBOX", L"0"},
    {L"BAT_QT_RUN_COMMAND_TEXTBOX", L""},
    {L"BAT_DAEMON_RUN_COMMAND_TEXTBOX", L""},
    {L"QT_NAME_TEXTBOX", L""},
    {L"DAEMOND_NAME_TEXTBOX", L""},
};

class MainWindowEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        delete_section(L"ZV-KOB");
        delete_section(L"Second");
    }
    void TearDown() override {
        delete_section(L"ZV-KOB");
        delete_section(L"Second");
    }
};

TEST_F(MainWindowEndToEnd, FirstStartShowsTheWindowAndSavesElevenKeysOnClose) {
    std::unique_ptr<Process> program;
    HWND window = start_zv_kob(program);
    ASSERT_NE(window, nullptr) << "no main window with the instance name in its caption";

    const UINT dpi = dpi_of(window);
    const RECT outer = window_rect(window);
    EXPECT_EQ(outer.left, pixels(1000, dpi));
    EXPECT_EQ(outer.top, pixels(1000, dpi));
    EXPECT_EQ(outer.right - outer.left, pixels(4530, dpi));
    EXPECT_EQ(outer.bottom - outer.top, pixels(2565, dpi));
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & WS_THICKFRAME, 0) << "fixed border";
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0) << "no maximize button";

    for (const ControlSpec* design : layout.controls) {
        HWND item = control(window, layout, *design);
        ASSERT_NO_FATAL_FAILURE(expect_at_designed_place(item, *design, dpi));
        if (!design->visible) {
            continue;
        }
        const auto allowed = first_captions.find(design);
        ASSERT_NE(allowed, first_captions.end()) << design->name;
        EXPECT_TRUE(allowed->second.count(text(item)) == 1)
            << design->name << " reads " << narrow(text(item));
    }
    expect_seen(window, layout,
                {{main_layout::launch_button, {72, 104, 57, 33}, L"LAUNCH"},
                 {main_layout::countdown_display, {144, 104, 49, 35}, L"-- --"},
                 {main_layout::start_stop_button, {208, 104, 81, 33}, L"START"}});
    EXPECT_EQ(outer.left, 67);
    EXPECT_EQ(outer.right - outer.left, 302);
    EXPECT_EQ(outer.bottom - outer.top, 171);
    EXPECT_TRUE(checked(control(window, layout, main_layout::always_on_top)));
    EXPECT_FALSE(enabled(control(window, layout, main_layout::auto_start)));
    EXPECT_TRUE(wait_until(
        [&] {
            return colour_on_screen(control(window, layout, main_layout::countdown_display)) ==
                   pink;
        },
        3s));

    ASSERT_TRUE(close_and_wait(window, *program));
    EXPECT_EQ(read_section(L"ZV-KOB"), first_start_settings);
}

TEST_F(MainWindowEndToEnd, ACopyUnderAnotherNameKeepsItsOwnSection) {
    write_setting(L"ZV-KOB", L"MAIN-Left", L"3000");
    ScratchFolder folder(L"second-copy");
    copy_file(zv_kob_exe(), folder.file(L"Second.exe"));

    std::unique_ptr<Process> second;

    HWND window = start_zv_kob(second, folder.file(L"Second.exe"), L"TARLOWEN - ZV-KOB - Second");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(text(control(window, layout, main_layout::instance_label)), L"Second");
    EXPECT_EQ(window_rect(window).left, pixels(1000, dpi_of(window)))
        << "ZV-KOB's stored position is not Second's";
    ASSERT_TRUE(close_and_wait(window, *second));

    EXPECT_EQ(read_section(L"Second"), first_start_settings);
    EXPECT_EQ(read_section(L"ZV-KOB"), (Section{{L"MAIN-Left", L"3000"}}));
}

// A second copy under the same name would share the first one's settings:
// it brings the running copy forward, shown or minimised, and ends, storing
// nothing. A copy started at once after a close opens: the window of a copy
// that is closing is not a running copy.
TEST_F(MainWindowEndToEnd, ASecondCopyOfTheSameNameBringsTheFirstForwardAndEnds) {
    std::unique_ptr<Process> first;
    HWND window = start_zv_kob(first);
    ASSERT_NE(window, nullptr);
    OtherProgramWindow other;
    other.take_foreground();
    ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == other.handle(); }, 3s));
    write_setting(L"ZV-KOB", L"MAIN-Left", L"3000");  // the first copy's unload overwrites it

    Process second(zv_kob_exe());
    ASSERT_TRUE(second.wait_for_exit(10s)) << "the second copy ends at once";
    EXPECT_TRUE(wait_until([&] { return GetForegroundWindow() == window; }, 3s))
        << "with the running copy in front";
    EXPECT_EQ(read_section(L"ZV-KOB"), (Section{{L"MAIN-Left", L"3000"}}))
        << "the second copy stored nothing";
    PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(wait_until([window] { return IsIconic(window) != FALSE; }, 5s));
    Process third(zv_kob_exe());
    ASSERT_TRUE(third.wait_for_exit(10s)) << "a minimised copy runs all the same";
    EXPECT_TRUE(wait_until([window] { return IsIconic(window) == FALSE; }, 5s)) << "restored";
    EXPECT_TRUE(first->running());

    const auto opened = [] { return times_in_history(L"ZV-KOB", "opened (copy ZV-KOB)"); };
    for (int round = 1; round <= 10; ++round) {
        const std::size_t opened_before = opened();
        close(window);
        auto next = std::make_unique<Process>(zv_kob_exe());
        ASSERT_TRUE(first->wait_for_exit(10s)) << "round " << round;
        window = wait_for_window(next->id(), main_caption, 10s);
        ASSERT_NE(window, nullptr) << "round " << round << ": a start right after a close opens";
        EXPECT_TRUE(wait_until([&] { return opened() == opened_before + 1; }, 10s))
            << "round " << round;
        first = std::move(next);
    }
    ASSERT_TRUE(close_and_wait(window, *first));
}

// Minimised without the tick, the window keeps its taskbar button; with it,
// the window goes into the notification area, and starting the same name
// again brings it back.
TEST_F(MainWindowEndToEnd, TheNotificationAreaTickHidesAMinimisedWindowUntilItIsCalledBack) {
    std::unique_ptr<Process> first;
    HWND window = start_zv_kob(first);
    ASSERT_NE(window, nullptr);
    const auto minimise = [window] { PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0); };
    minimise();
    ASSERT_TRUE(wait_until([window] { return IsIconic(window) != FALSE; }, 5s));
    EXPECT_TRUE(IsWindowVisible(window)) << "the tick is off: the taskbar button stays";
    ShowWindow(window, SW_RESTORE);
    ASSERT_TRUE(wait_until([window] { return IsIconic(window) == FALSE; }, 5s));
    EXPECT_EQ(read_section(L"ZV-KOB"), Section{}) << "nothing is stored while it is off";

    choose_window_menu_command(window, layout, main_layout::show_in_notification_area);
    EXPECT_TRUE(
        wait_until([] { return read_section(L"ZV-KOB")[L"NOTIFICATION_AREA"] == L"1"; }, 3s))
        << "stored at once";
    minimise();
    EXPECT_TRUE(wait_until([window] { return IsWindowVisible(window) == FALSE; }, 5s))
        << "into the notification area";
    EXPECT_TRUE(first->running());

    Process second(zv_kob_exe());
    ASSERT_TRUE(second.wait_for_exit(10s)) << "one copy only";
    EXPECT_TRUE(wait_until(
        [window] { return IsWindowVisible(window) != FALSE && IsIconic(window) == FALSE; }, 5s))
        << "the hidden window is back";
    ASSERT_TRUE(close_and_wait(window, *first));
}

TEST_F(MainWindowEndToEnd, AWindowTheUserMovedOpensThereNextTime) {
    UINT dpi = 96;
    {
        std::unique_ptr<Process> program;
        HWND window = start_zv_kob(program);
        ASSERT_NE(window, nullptr);
        dpi = dpi_of(window);
        SetWindowPos(window, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(close_and_wait(window, *program));
    }
    EXPECT_EQ(read_section(L"ZV-KOB")[L"MAIN-Left"], std::to_wstring(200 * 1440 / dpi));
    EXPECT_EQ(read_section(L"ZV-KOB")[L"MAIN-Top"], std::to_wstring(150 * 1440 / dpi));

    std::unique_ptr<Process> again;

    HWND window = start_zv_kob(again);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window_rect(window).left, 200);
    EXPECT_EQ(window_rect(window).top, 150);
    ASSERT_TRUE(close_and_wait(window, *again));
}

TEST_F(MainWindowEndToEnd, AStoredPositionOnNoScreenIsBroughtBackOntoOne) {
    write_setting(L"ZV-KOB", L"MAIN-Left", L"-900000");
    write_setting(L"ZV-KOB", L"MAIN-Top", L"not a number");
    write_setting(L"ZV-KOB", L"MAIN-Width", L"1");
    write_setting_number(L"ZV-KOB", L"USE_QT_BAT_TICKBOX", 1);
    std::unique_ptr<Process> program;
    HWND window = start_zv_kob(program);
    ASSERT_NE(window, nullptr) << "a hand-edited store must not stop the program";
    const RECT outer = window_rect(window);
    const auto dpi = static_cast<LONG>(dpi_of(window));
    EXPECT_GE(outer.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
    EXPECT_EQ(outer.top, pixels(1000, static_cast<UINT>(dpi)));
    EXPECT_EQ(outer.right - outer.left, pixels(4530, static_cast<UINT>(dpi)))
        << "a width below the design size opens at the design size";
    EXPECT_TRUE(checked(control(window, layout, main_layout::qt_chosen)))
        << "a tick stored by hand as a number is read";
    ASSERT_TRUE(close_and_wait(window, *program));
    EXPECT_EQ(read_section(L"ZV-KOB")[L"MAIN-Left"], std::to_wstring(outer.left * 1440 / dpi));
}

TEST_F(MainWindowEndToEnd, AlwaysOnTopFollowsTheTickboxAtOnce) {
    std::unique_ptr<Process> program;
    HWND window = start_zv_kob(program);
    ASSERT_NE(window, nullptr);
    HWND always_on_top = control(window, layout, main_layout::always_on_top);
    OtherProgramWindow other;  // covers the main window where it takes the foreground
    const auto topmost = [window] { return seen_on_top(window); };

    // Another program's window takes the foreground: within a second ZV-KOB is above it.
    other.take_foreground();
    EXPECT_TRUE(wait_until(topmost, 3s)) << "ticked: the window goes on top";

    click(always_on_top);
    ASSERT_TRUE(wait_until([&] { return !checked(always_on_top); }, 2s));
    other.take_foreground();
    EXPECT_TRUE(wait_until([&] { return !topmost(); }, 2s))
        << "cleared: the window left the topmost band at once, so another window can cover it";
    EXPECT_FALSE(wait_until(topmost, 1500ms)) << "cleared: it stays behind";

    click(always_on_top);
    EXPECT_TRUE(wait_until(topmost, 3s)) << "ticked again: back on top within a second";
    EXPECT_EQ(GetForegroundWindow(), other.handle()) << "on top without taking the input";

    // A window of another program, pinned on top by its user and in front, keeps its pin.
    ScratchFolder folder(L"pinned window");
    const std::wstring pinned_exe = stand_in(folder.file(L"pinned.exe"));
    {
        Process pinned(pinned_exe, L"--topmost-window");
        const auto pinned_says = [&](const char* state) {
            return read_file(pinned_exe + L".topmost") == state;
        };
        ASSERT_TRUE(wait_until([&] { return pinned_says("1"); }, 5s));
        EXPECT_FALSE(wait_until([&] { return pinned_says("0"); }, 3s))
            << "ZV-KOB never takes another program's window out of the topmost band";
        EXPECT_TRUE(wait_until(topmost, 3s)) << "and still goes above it";
    }

    ASSERT_TRUE(close_and_wait(window, *program));
    EXPECT_EQ(read_section(L"ZV-KOB")[L"AlwaysOnTopTimer_TICKBOX"], L"1");
}

// Start With Windows in the window menu adds the value that starts this very
// program at sign-in, and removes it again.
TEST_F(MainWindowEndToEnd, StartWithWindowsAddsAndRemovesItsRunValue) {
    std::unique_ptr<Process> program;
    HWND window = start_zv_kob(program);
    ASSERT_NE(window, nullptr);
    choose_window_menu_command(window, layout, main_layout::start_with_windows);
    EXPECT_TRUE(wait_until([] { return startup_value(L"ZV-KOB") != L""; }, 3s));
    EXPECT_EQ(CompareStringOrdinal(startup_value(L"ZV-KOB").c_str(), -1,
                                   (L"\"" + zv_kob_exe() + L"\"").c_str(), -1, TRUE),
              CSTR_EQUAL)
        << narrow(startup_value(L"ZV-KOB"));
    choose_window_menu_command(window, layout, main_layout::start_with_windows);
    EXPECT_TRUE(wait_until([] { return startup_value(L"ZV-KOB") == L""; }, 3s));
    ASSERT_TRUE(close_and_wait(window, *program));
    EXPECT_EQ(read_section(L"ZV-KOB").count(L"KEEP_NODE_RUNNING"), 0U)
        << "a setting the user never changed is not stored";
}

// A viewer holds the full history open without letting it be moved (no
// FILE_SHARE_DELETE): ZV-KOB writes on in the same file, and says once why.
TEST_F(MainWindowEndToEnd, AFullHistoryHeldOpenByAViewerGoesOnAndSaysWhyOnce) {
    ScratchFolder folder(L"full history");
    const std::wstring copy = folder.file(L"FullHistory.exe");
    copy_file(zv_kob_exe(), copy);
    delete_section(L"FullHistory");
    const std::wstring history = history_file(L"FullHistory");
    const std::wstring old_history = history.substr(0, history.size() - 4) + L".old.log";
    DeleteFileW(old_history.c_str());
    CreateDirectoryW(history.substr(0, history.rfind(L'\\')).c_str(), nullptr);
    const std::string old_line = "2026-01-01T00:00:00+00:00 " + std::string(36, '.') + "\r\n";
    std::string full;
    for (int line = 0; line < 16384; ++line) {
        full += old_line;  // 64 bytes: 1 MiB in all, the history's limit
    }
    write_file(history, full);
    const auto written = [&] {
        const std::string all = read_file(history);
        return all.size() > full.size() ? all.substr(full.size()) : std::string();
    };
    {
        const win32::KernelHandle viewer = win32::file_handle(
            CreateFileW(history.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(viewer);
        std::unique_ptr<Process> program;
        HWND window = start_zv_kob(program, copy, L"TARLOWEN - ZV-KOB - FullHistory");
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(wait_until(
            [&] { return written().find("opened (copy FullHistory)") != std::string::npos; }, 10s))
            << written();
        ASSERT_TRUE(close_and_wait(window, *program));
    }
    const std::string after = written();
    const std::string told = "could not move the full history to " + narrow(old_history);
    const auto first = after.find(told);
    EXPECT_NE(first, std::string::npos) << after;
    EXPECT_EQ(first, after.rfind(told)) << "said once: " << after;
    EXPECT_NE(after.find("ZV-KOB closed"), std::string::npos) << "and written on: " << after;
    EXPECT_FALSE(file_exists(old_history));
    DeleteFileW(history.c_str());
    delete_section(L"FullHistory");
}

TEST_F(MainWindowEndToEnd, EndingTheSessionSavesTheSettings) {
    std::unique_ptr<Process> program;
    HWND window = start_zv_kob(program);
    ASSERT_NE(window, nullptr);
    HWND always_on_top = control(window, layout, main_layout::always_on_top);
    click(always_on_top);
    ASSERT_TRUE(wait_until([&] { return !checked(always_on_top); }, 2s));

    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    EXPECT_EQ(answer, TRUE) << "ZV-KOB lets Windows end the session";
    SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, nullptr);

    Section saved = read_section(L"ZV-KOB");
    EXPECT_EQ(saved.size(), 11U);
    EXPECT_EQ(saved[L"AlwaysOnTopTimer_TICKBOX"], L"0") << "what the user set is not lost";
}

TEST_F(MainWindowEndToEnd, SettingsOpensModallyOverTheMainWindow) {
    std::unique_ptr<Process> program;
    HWND window = start_zv_kob(program);
    ASSERT_NE(window, nullptr);
    click(control(window, layout, main_layout::settings_button));
    HWND settings = wait_for_window(program->id(), settings_caption);
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(GetWindow(settings, GW_OWNER), window);
    EXPECT_TRUE(wait_until([&] { return !enabled(window); }, 2s))
        << "the main window takes no input";
    const LONG style = GetWindowLongW(settings, GWL_STYLE);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);

    close(settings);
    EXPECT_TRUE(wait_until([&] { return enabled(window) && !IsWindow(settings); }, 5s));
    ASSERT_TRUE(close_and_wait(window, *program));
}

}  // namespace
}  // namespace zvkob::e2e
