// The real ZV-KOB.exe under wine on a virtual screen: its settings window,
// driven by window messages from the fields to the batch files.
#include <gtest/gtest.h>

#include <memory>

#include "driver.hpp"
#include "layout_expectations.hpp"
#include "main_window/main_window_layout.hpp"
#include "settings_window/credit_line.hpp"
#include "settings_window/settings_window_layout.hpp"
#include "tests/support/worked_example.hpp"

namespace zvkob::e2e {
namespace {

const WindowSpec& main_table = main_window_layout();
const WindowSpec& settings_table = settings_window_layout();
constexpr wchar_t empty_line[] = L"call \"\\\" -conf= -datadir=";

const std::string worked_qt(testing::worked_example::qt_line);
const std::string worked_daemon(testing::worked_example::daemon_line);

class SettingsWindowEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { delete_section(L"ZV-KOB"); }
    void TearDown() override {
        program_.reset();
        delete_section(L"ZV-KOB");
    }

    void start() {
        main_ = start_zv_kob(program_);
        ASSERT_NE(main_, nullptr);
    }

    void open_settings() {
        click(m(main_layout::settings_button));
        settings_ = wait_for_window(program_->id(), settings_caption);
        ASSERT_NE(settings_, nullptr) << "the Settings button opened no settings window";
    }

    void close_settings_with_its_button() {
        click(s(settings_layout::close_button));
        ASSERT_TRUE(wait_until([&] { return !IsWindow(settings_) && enabled(main_); }, 5s));
    }

    void close_program() { ASSERT_TRUE(close_and_wait(main_, *program_)); }

    HWND m(const ControlSpec& design) const { return control(main_, main_table, design); }
    HWND s(const ControlSpec& design) const { return control(settings_, settings_table, design); }

    bool both_lines_read(const std::string& qt, const std::string& daemon) const {
        return text(s(settings_layout::qt_run_command)) == widen(qt) &&
               text(s(settings_layout::daemon_run_command)) == widen(daemon);
    }

    // A click on a checkable control, once the window has enabled it.
    void click_when_enabled(const ControlSpec& design) {
        ASSERT_TRUE(wait_until([&] { return enabled(s(design)); }, 2s)) << design.name;
        click(s(design));
    }

    std::unique_ptr<Process> program_;
    HWND main_ = nullptr;
    HWND settings_ = nullptr;
};

TEST_F(SettingsWindowEndToEnd, OpensInFrontOfTheMainWindowWithEveryControlInPlace) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NO_FATAL_FAILURE(open_settings());
    EXPECT_EQ(GetWindow(settings_, GW_OWNER), main_);
    EXPECT_TRUE(wait_until([&] { return GetForegroundWindow() == settings_; }, 2s));
    EXPECT_TRUE(wait_until([&] { return !enabled(main_); }, 2s))
        << "the main window takes no input";
    EXPECT_EQ(
        GetWindowLongW(settings_, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
        0);

    const UINT dpi = dpi_of(settings_);
    const RECT outer = window_rect(settings_);
    EXPECT_EQ(outer.left, pixels(1000, dpi));
    EXPECT_EQ(outer.top, pixels(1000, dpi));
    EXPECT_EQ(outer.right - outer.left, pixels(12105, dpi));
    EXPECT_EQ(outer.bottom - outer.top, pixels(6750, dpi));

    for (const ControlSpec* design : settings_table.controls) {
        HWND item = s(*design);
        ASSERT_NO_FATAL_FAILURE(expect_at_designed_place(item, *design, dpi));
        if (!design->visible) {
            continue;
        }
        const bool run_command = design == &settings_layout::qt_run_command ||
                                 design == &settings_layout::daemon_run_command;
        EXPECT_EQ(text(item), run_command ? std::wstring(empty_line) : widen(design->caption))
            << design->name << ": both run commands show at once";
    }
    expect_seen(
        settings_, settings_table,
        {{settings_layout::save_to_registry_button, {312, 384, 145, 33}, L"Save To Registry"},
         {settings_layout::save_bat_files_button, {472, 384, 145, 33}, L"Save .BAT Files"}});
    EXPECT_EQ(outer.right - outer.left, 807);
    EXPECT_EQ(outer.bottom - outer.top, 450);
    EXPECT_EQ(focused_control(settings_), s(settings_layout::close_button));
    EXPECT_TRUE(checked(s(settings_layout::always_on_top)));
    EXPECT_TRUE(enabled(s(settings_layout::wallet)));
    EXPECT_FALSE(enabled(s(settings_layout::wallet_disabled)));
    EXPECT_TRUE(
        wait_until([&] { return colour_on_screen(s(settings_layout::title)) == black; }, 3s));
    EXPECT_TRUE(
        wait_until([&] { return colour_on_screen(s(settings_layout::copies_help)) == green; }, 3s));

    HWND creator = s(settings_layout::credit_line);
    PostMessageW(creator, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(creator, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(wait_until([&] { return text(creator) == widen(credit_line_contact); }, 2s));

    close(settings_);  // the close box: the unload saves the position and nothing else
    ASSERT_TRUE(wait_until([&] { return !IsWindow(settings_) && enabled(main_); }, 5s));
    EXPECT_EQ(read_section(L"ZV-KOB"),
              (Section{{L"SETTINGS-Left", L"1000"}, {L"SETTINGS-Top", L"1000"}}));
    ASSERT_NO_FATAL_FAILURE(close_program());
}

TEST_F(SettingsWindowEndToEnd, TypedFieldsReachBothRunCommandsTheRegistryAndTheBatchFiles) {
    ScratchFolder folder(L"settings-road");
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NO_FATAL_FAILURE(open_settings());

    type(s(settings_layout::program_folder), folder.path());
    type_worked_example(settings_);
    const auto typed = Clock::now();
    ASSERT_TRUE(wait_until([&] { return both_lines_read(worked_qt, worked_daemon); }, 3s));
    EXPECT_LT(Clock::now() - typed, 1500ms) << "the composer runs once a second";

    click(s(settings_layout::wallet));
    EXPECT_TRUE(wait_until(
        [&] {
            return both_lines_read(worked_qt + " -disablewallet=0",
                                   worked_daemon + " -disablewallet=0");
        },
        3s));
    ASSERT_NO_FATAL_FAILURE(click_when_enabled(settings_layout::wallet_disabled));
    EXPECT_TRUE(wait_until(
        [&] {
            return both_lines_read(worked_qt + " -disablewallet=1",
                                   worked_daemon + " -disablewallet=1");
        },
        3s));
    EXPECT_FALSE(enabled(s(settings_layout::wallet)));
    click(s(settings_layout::wallet_disabled));
    ASSERT_TRUE(wait_until([&] { return enabled(s(settings_layout::wallet)); }, 3s));

    // Before Save To Registry there is nowhere to write to.
    click(s(settings_layout::save_bat_files_button));
    HWND box = wait_for_message_box(program_->id());
    ASSERT_NE(box, nullptr);
    EXPECT_NE(message_box_text(box).find(L"\"Save To Registry\" first"), std::wstring::npos)
        << narrow(message_box_text(box));
    press_ok(box);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(box); }, 5s));
    EXPECT_FALSE(file_exists(L"BAT_QT_RUN_COMMAND_TEXTBOX"));
    EXPECT_EQ(text(s(settings_layout::close_button)), L"Cancel");

    click(s(settings_layout::save_to_registry_button));
    ASSERT_TRUE(wait_until([&] { return text(s(settings_layout::close_button)) == L"Close"; }, 3s));
    Section saved = read_section(L"ZV-KOB");
    EXPECT_EQ(saved.size(), 15U);
    EXPECT_EQ(saved[L"ZV_KOB_LOCATION_TEXTBOX"], folder.path());
    EXPECT_EQ(saved[L"WALLET_TICKBOX"], L"1");
    EXPECT_EQ(saved[L"DASH_DISABLE_WALLET_EQUALS_TEXTBOX"], L" -disablewallet=0");
    EXPECT_EQ(saved[L"BAT_QT_RUN_COMMAND_TEXTBOX"], folder.file(L"ZVKOB-QT.BAT"));
    EXPECT_EQ(saved[L"BAT_DAEMON_RUN_COMMAND_TEXTBOX"], folder.file(L"ZVKOB-D.BAT"));
    EXPECT_EQ(text(m(main_layout::qt_batch_path_copy)), folder.file(L"ZVKOB-QT.BAT"));
    EXPECT_EQ(text(m(main_layout::daemon_batch_path_copy)), folder.file(L"ZVKOB-D.BAT"));
    EXPECT_EQ(text(m(main_layout::qt_image_copy)), L"bitcoin-qt.exe");

    // A field a batch line cannot carry is named, and nothing is written.
    type(s(settings_layout::data_folder), L"C:\\BC-ROOT\\100%");
    click(s(settings_layout::save_bat_files_button));
    box = wait_for_message_box(program_->id());
    ASSERT_NE(box, nullptr);
    EXPECT_NE(message_box_text(box).find(L"BLOCKCHAIN FOLDER contains a percent sign"),
              std::wstring::npos)
        << narrow(message_box_text(box));
    press_ok(box);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(box); }, 5s));
    EXPECT_FALSE(file_exists(folder.file(L"ZVKOB-QT.BAT")));

    type(s(settings_layout::data_folder), L"C:\\BC-ROOT\\BTC-BC");
    click(s(settings_layout::save_bat_files_button));
    // The node is not installed on this machine: ZV-KOB asks, and writes on Yes.
    const std::wstring asked = answer_next_box(program_->id(), press_yes);
    EXPECT_NE(asked.find(L"C:\\Program Files\\Bitcoin\\Daemon\\bitcoind.exe"), std::wstring::npos)
        << narrow(asked);
    ASSERT_TRUE(wait_until([&] { return file_exists(folder.file(L"ZVKOB-D.BAT")); }, 5s));
    EXPECT_EQ(read_file(folder.file(L"ZVKOB-QT.BAT")), worked_qt + " -disablewallet=0\r\n");
    EXPECT_EQ(read_file(folder.file(L"ZVKOB-QT.BAT")).size(), 126U);
    EXPECT_EQ(read_file(folder.file(L"ZVKOB-D.BAT")), worked_daemon + " -disablewallet=0\r\n");
    EXPECT_EQ(read_file(folder.file(L"ZVKOB-D.BAT")).size(), 131U);

    ASSERT_NO_FATAL_FAILURE(close_settings_with_its_button());
    ASSERT_NO_FATAL_FAILURE(close_program());
    EXPECT_EQ(read_section(L"ZV-KOB")[L"BAT_QT_RUN_COMMAND_TEXTBOX"], folder.file(L"ZVKOB-QT.BAT"))
        << "the main window's unload stores the same path";
}

// The main window's timers run on while the settings window is up: with the
// settings window moved aside and another program's window in front, the
// main window's Always On Top puts it back on top within a second, and the
// settings window's Always On Top switches that at once both ways.
TEST_F(SettingsWindowEndToEnd, TheMainWindowsTimersRunAndFollowAlwaysOnTopWhileItIsOpen) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NO_FATAL_FAILURE(open_settings());
    SetWindowPos(settings_, nullptr, 500, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    OtherProgramWindow other;  // covers the main window where it takes the foreground
    const auto main_on_top = [this] { return seen_on_top(main_); };

    other.take_foreground();
    EXPECT_TRUE(wait_until(main_on_top, 3s))
        << "the main window's timer ticks while this window is modal";

    click(s(settings_layout::always_on_top));
    EXPECT_TRUE(wait_until([&] { return !checked(m(main_layout::always_on_top)); }, 2s));
    other.take_foreground();
    EXPECT_TRUE(wait_until([&] { return !main_on_top(); }, 2s))
        << "out of the topmost band at once";
    EXPECT_FALSE(wait_until(main_on_top, 1500ms)) << "and it stays behind";

    click(s(settings_layout::always_on_top));
    EXPECT_TRUE(wait_until([&] { return checked(m(main_layout::always_on_top)); }, 2s));
    EXPECT_TRUE(wait_until(main_on_top, 3s)) << "switched on again from the settings window";
    EXPECT_TRUE(IsWindow(settings_));

    ASSERT_NO_FATAL_FAILURE(close_settings_with_its_button());
    ASSERT_NO_FATAL_FAILURE(close_program());
    EXPECT_EQ(read_section(L"ZV-KOB")[L"AlwaysOnTopTimer_TICKBOX"], L"1");
}

TEST_F(SettingsWindowEndToEnd, CancelKeepsOnlyTheNewPosition) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NO_FATAL_FAILURE(open_settings());
    type(s(settings_layout::program_folder), L"C:\\typed but not saved");
    SetWindowPos(settings_, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(wait_until([&] { return window_rect(settings_).left == 300; }, 2s));
    ASSERT_NO_FATAL_FAILURE(close_settings_with_its_button());
    EXPECT_EQ(read_section(L"ZV-KOB"), (Section{{L"SETTINGS-Left", std::to_wstring(300 * 15)},
                                                {L"SETTINGS-Top", std::to_wstring(200 * 15)}}));

    ASSERT_NO_FATAL_FAILURE(open_settings());
    EXPECT_EQ(window_rect(settings_).left, 300);
    EXPECT_EQ(window_rect(settings_).top, 200);
    EXPECT_EQ(text(s(settings_layout::program_folder)), L"");
    EXPECT_EQ(text(s(settings_layout::close_button)), L"Cancel");
    ASSERT_NO_FATAL_FAILURE(close_settings_with_its_button());
    ASSERT_NO_FATAL_FAILURE(close_program());
}

}  // namespace
}  // namespace zvkob::e2e
