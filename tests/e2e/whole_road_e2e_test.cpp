// The whole road of an automatic launch, as a user travels it, from an empty
// registry: configure in the settings window, write the batch files, choose
// the wallet program, START, and watch ZV-KOB start the node hidden and close
// itself; then start ZV-KOB again with the node still running. Everything is
// done from outside, with window messages, on the real ZV-KOB.exe under wine.
#include <gtest/gtest.h>

#include <memory>

#include "driver.hpp"
#include "main_window/main_window_layout.hpp"
#include "settings_window/settings_window_layout.hpp"

namespace zvkob::e2e {
namespace {

// The node's folders and files as the user types them: a folder with a
// space, and a data folder with a space and a letter outside ASCII.
struct Configuration {
    std::wstring program_folder;
    std::wstring qt_folder = program_folder + L"\\Wallet Programs";
    std::wstring daemon_folder = program_folder + L"\\Node Programs";
    std::wstring conf_file = program_folder + L"\\node.conf";
    std::wstring data_folder = program_folder + L"\\Node Data Jos\u00e9";

    std::wstring qt_line() const {
        return L"call \"" + qt_folder + L"\\zv-road-qt.exe\" -conf=\"" + conf_file +
               L"\" -datadir=\"" + data_folder + L"\" -disablewallet=0";
    }
    std::wstring daemon_line() const {
        return L"call \"" + daemon_folder + L"\\zv-road-d.exe\" -conf=\"" + conf_file +
               L"\" -datadir=\"" + data_folder + L"\" -disablewallet=0";
    }
    // What the wallet program must receive: each value exactly as typed.
    std::string qt_arguments() const {
        return narrow(L"-conf=" + conf_file + L"\n-datadir=" + data_folder +
                      L"\n-disablewallet=0\n");
    }
};

// A line as the command interpreter reads it: code page 437, é is 0x82.
std::string in_console_code_page(const std::wstring& line) {
    std::string bytes;
    for (const wchar_t c : line) {
        bytes += c == L'\u00e9' ? '\x82' : static_cast<char>(c);
    }
    return bytes + "\r\n";
}

class WholeRoad : public ::testing::Test {
protected:
    void SetUp() override {
        delete_section(L"ZV-KOB");
        CreateDirectoryW(config.qt_folder.c_str(), nullptr);
        CreateDirectoryW(config.daemon_folder.c_str(), nullptr);
        copy_file(zv_kob_exe(), folder.file(L"ZV-KOB.exe"));
        stand_in(qt_node());
        stand_in(config.daemon_folder + L"\\zv-road-d.exe");
    }
    void TearDown() override {
        program.reset();
        kill_processes(L"zv-road-qt.exe");
        delete_section(L"ZV-KOB");
    }

    std::wstring qt_node() const { return config.qt_folder + L"\\zv-road-qt.exe"; }

    void start_zv_kob() {
        main = e2e::start_zv_kob(program, folder.file(L"ZV-KOB.exe"));
        ASSERT_NE(main, nullptr);
    }
    HWND m(const ControlSpec& design) const { return control(main, main_window_layout(), design); }
    HWND s(const ControlSpec& design) const {
        return control(settings, settings_window_layout(), design);
    }
    bool shows(const ControlSpec& label, std::wstring_view caption, COLORREF colour) const {
        return text(m(label)) == caption && colour_on_screen(m(label)) == colour;
    }
    // The wallet program is seen stopped and LAUNCH can be pressed.
    bool ready_to_launch() const {
        return shows(main_layout::qt_status, L"!!! QT STOPPED !!!", red) &&
               enabled(m(main_layout::launch_button));
    }
    bool displays(std::wstring_view seconds) const {
        return text(m(main_layout::countdown_display)) == seconds;
    }
    void tick(HWND tickbox) {
        ASSERT_TRUE(wait_until([&] { return enabled(tickbox); }, 3s));
        click(tickbox);
        ASSERT_TRUE(wait_until([&] { return checked(tickbox); }, 3s));
    }

    void configure_in_the_settings_window();
    void choose_the_wallet_program_and_start();
    Clock::time_point watch_the_zero_step_launch();

    // A folder whose path the command interpreter would cut unless it is kept in quotes.
    ScratchFolder folder{L"Nodes (BTC) & Co"};
    Configuration config{folder.path()};
    std::unique_ptr<Process> program;
    HWND main = nullptr;
    HWND settings = nullptr;
};

void WholeRoad::configure_in_the_settings_window() {
    click(m(main_layout::settings_button));
    settings = wait_for_window(program->id(), settings_caption);
    ASSERT_NE(settings, nullptr);
    type(s(settings_layout::program_folder), config.program_folder);
    type(s(settings_layout::qt_folder), config.qt_folder);
    type(s(settings_layout::qt_file), L"zv-road-qt.exe");
    type(s(settings_layout::daemon_folder), config.daemon_folder);
    type(s(settings_layout::daemon_file), L"zv-road-d.exe");
    type(s(settings_layout::conf_file), config.conf_file);
    type(s(settings_layout::data_folder), config.data_folder);
    click(s(settings_layout::wallet));
    const auto typed = Clock::now();
    ASSERT_TRUE(wait_until(
        [&] {
            return text(s(settings_layout::qt_run_command)) == config.qt_line() &&
                   text(s(settings_layout::daemon_run_command)) == config.daemon_line();
        },
        3s))
        << narrow(text(s(settings_layout::qt_run_command)));
    EXPECT_LT(Clock::now() - typed, 1500ms) << "both command lines follow within a second";

    click(s(settings_layout::save_to_registry_button));
    ASSERT_TRUE(wait_until([&] { return text(s(settings_layout::close_button)) == L"Close"; }, 3s));
    click(s(settings_layout::save_bat_files_button));
    ASSERT_TRUE(wait_until([&] { return file_exists(folder.file(L"ZVKOB-D.BAT")); }, 5s));
    EXPECT_EQ(read_file(folder.file(L"ZVKOB-QT.BAT")), in_console_code_page(config.qt_line()));
    EXPECT_EQ(read_file(folder.file(L"ZVKOB-D.BAT")), in_console_code_page(config.daemon_line()));

    click(s(settings_layout::close_button));
    ASSERT_TRUE(wait_until([&] { return !IsWindow(settings) && enabled(main); }, 5s));
}

void WholeRoad::choose_the_wallet_program_and_start() {
    ASSERT_NO_FATAL_FAILURE(tick(m(main_layout::qt_chosen)));
    EXPECT_FALSE(enabled(m(main_layout::daemon_chosen)));
    ASSERT_NO_FATAL_FAILURE(tick(m(main_layout::auto_start)));
    ASSERT_NO_FATAL_FAILURE(tick(m(main_layout::auto_close)));
    ASSERT_TRUE(
        wait_until([&] { return shows(main_layout::qt_status, L"!!! QT STOPPED !!!", red); }, 3s));
    click(m(main_layout::start_stop_button));
    ASSERT_TRUE(wait_until([&] { return text(m(main_layout::start_stop_button)) == L"STOP"; }, 3s));
    for (const ControlSpec* locked :
         {&main_layout::settings_button, &main_layout::qt_chosen, &main_layout::daemon_chosen,
          &main_layout::auto_start, &main_layout::auto_close}) {
        EXPECT_FALSE(enabled(m(*locked))) << locked->name;
    }
}

// From the second before a zero step to the node running; returns when the launch ended.
Clock::time_point WholeRoad::watch_the_zero_step_launch() {
    EXPECT_TRUE(wait_until(
        [&] { return colour_on_screen(m(main_layout::countdown_display)) == yellow; }, 3s))
        << "the indicator is yellow while the node starts";
    EXPECT_TRUE(wait_until([&] { return process_runs(L"zv-road-qt.exe"); }, 5s))
        << "the batch file started the wallet program";
    EXPECT_TRUE(wait_until(
        [&] { return colour_on_screen(m(main_layout::countdown_display)) == green; }, 5s));
    const auto launched = Clock::now();
    EXPECT_EQ(text(m(main_layout::countdown_display)), L"-- --");
    EXPECT_TRUE(wait_until(
        [&] { return shows(main_layout::qt_status, L"!!! QT RUNNING !!!", green); }, 3s));
    EXPECT_TRUE(wait_until([&] { return !enabled(m(main_layout::launch_button)); }, 2s));
    return launched;
}

TEST_F(WholeRoad, FromAnEmptyRegistryToARunningNodeAndBackAgain) {
    // A first start: configure, write the batch files, choose, START.
    ASSERT_NO_FATAL_FAILURE(start_zv_kob());
    ASSERT_NO_FATAL_FAILURE(configure_in_the_settings_window());
    ASSERT_NO_FATAL_FAILURE(choose_the_wallet_program_and_start());
    EXPECT_TRUE(wait_until([&] { return displays(L"10"); }, 3s)) << "the countdown shows 10 first";
    EXPECT_TRUE(wait_until([&] { return displays(L"01"); }, 12s)) << "and 01 last";
    auto launched = watch_the_zero_step_launch();
    ASSERT_TRUE(program->wait_for_exit(20s)) << "auto-close ends ZV-KOB";
    EXPECT_GT(Clock::now() - launched, 8s);
    EXPECT_LT(Clock::now() - launched, 15s) << "about ten seconds after the launch";

    EXPECT_EQ(read_file(qt_node() + L".args"), config.qt_arguments())
        << "the wallet program received each value as typed";
    EXPECT_FALSE(process_runs(L"zv-road-d.exe")) << "only the chosen program was started";
    Section saved = read_section(L"ZV-KOB");
    EXPECT_EQ(saved.size(), 21U);
    const Section expected{
        {L"MAIN-Left", L"1000"},
        {L"MAIN-Top", L"1000"},
        {L"USE_QT_BAT_TICKBOX", L"1"},
        {L"USE_DAEMON_BAT_TICKBOX", L"0"},
        {L"AlwaysOnTopTimer_TICKBOX", L"1"},
        {L"AUTOSTART_TICKBOX", L"1"},
        {L"AUTOCLOSE_TIMER_TICKBOX", L"1"},
        {L"BAT_QT_RUN_COMMAND_TEXTBOX", folder.file(L"ZVKOB-QT.BAT")},
        {L"BAT_DAEMON_RUN_COMMAND_TEXTBOX", folder.file(L"ZVKOB-D.BAT")},
        {L"QT_NAME_TEXTBOX", L"zv-road-qt.exe"},
        {L"DAEMOND_NAME_TEXTBOX", L"zv-road-d.exe"},
        {L"SETTINGS-Left", L"1000"},
        {L"SETTINGS-Top", L"1000"},
        {L"ZV_KOB_LOCATION_TEXTBOX", config.program_folder},
        {L"BLOCKCHAIN_FOLDER_TEXTBOX", config.data_folder},
        {L"CONF_LOCATION_TEXTBOX", config.conf_file},
        {L"QT_LOCATION_TEXTBOX", config.qt_folder},
        {L"DAEMON_LOCATION_TEXTBOX", config.daemon_folder},
        {L"WALLET_TICKBOX", L"1"},
        {L"DISABLE_WALLET_TICKBOX", L"0"},
        {L"DASH_DISABLE_WALLET_EQUALS_TEXTBOX", L" -disablewallet=0"},
    };
    EXPECT_EQ(saved, expected);

    // The next start arms the countdown at once; the node still runs, so the
    // zero step starts nothing and the display counts up. The zero step a
    // minute later that starts it once stopped is
    // Countdown.OverrunsWhileAProgramRunsAndTriesAgainEveryMinute's, on a fake
    // clock; here STOP and START arm it again, and it starts the node.
    ASSERT_NO_FATAL_FAILURE(start_zv_kob());
    EXPECT_EQ(text(m(main_layout::start_stop_button)), L"STOP");
    EXPECT_TRUE(wait_until(
        [&] { return shows(main_layout::qt_status, L"!!! QT RUNNING !!!", green); }, 3s));
    ASSERT_TRUE(wait_until([&] { return displays(L"01"); }, 14s));
    ASSERT_TRUE(wait_until([&] { return displays(L"-- --"); }, 3s)) << "the first zero step";
    EXPECT_TRUE(wait_until([&] { return displays(L"02"); }, 4s)) << "counting up";
    EXPECT_TRUE(process_runs(L"zv-road-qt.exe"));
    DeleteFileW((qt_node() + L".args").c_str());
    write_file(qt_node() + L".stop", "");
    EXPECT_TRUE(
        wait_until([&] { return shows(main_layout::qt_status, L"!!! QT STOPPED !!!", red); }, 5s));
    click(m(main_layout::start_stop_button));
    ASSERT_TRUE(
        wait_until([&] { return text(m(main_layout::start_stop_button)) == L"START"; }, 3s));
    click(m(main_layout::start_stop_button));
    EXPECT_TRUE(wait_until([&] { return displays(L"01"); }, 14s));
    launched = watch_the_zero_step_launch();
    EXPECT_EQ(read_file(qt_node() + L".args"), config.qt_arguments());
    ASSERT_TRUE(program->wait_for_exit(20s)) << "auto-close again";
}

// Save To Registry alone leaves the batch file paths in the store: a ZV-KOB
// that is then killed starts the node from them next time.
TEST_F(WholeRoad, LaunchStartsTheNodeFromSavedPathsAfterAKill) {
    ASSERT_NO_FATAL_FAILURE(start_zv_kob());
    ASSERT_NO_FATAL_FAILURE(configure_in_the_settings_window());
    program->kill();
    Section saved = read_section(L"ZV-KOB");
    EXPECT_EQ(saved[L"BAT_QT_RUN_COMMAND_TEXTBOX"], folder.file(L"ZVKOB-QT.BAT"));
    EXPECT_EQ(saved[L"BAT_DAEMON_RUN_COMMAND_TEXTBOX"], folder.file(L"ZVKOB-D.BAT"));

    ASSERT_NO_FATAL_FAILURE(start_zv_kob());
    ASSERT_NO_FATAL_FAILURE(tick(m(main_layout::qt_chosen)));
    ASSERT_TRUE(wait_until([&] { return ready_to_launch(); }, 3s));
    click(m(main_layout::launch_button));
    EXPECT_TRUE(wait_until([&] { return read_file(qt_node() + L".args") != ""; }, 10s));
    EXPECT_EQ(read_file(qt_node() + L".args"), config.qt_arguments())
        << "started through a folder with ( ) & in its name, every argument whole";
    ASSERT_TRUE(close_and_wait(main, *program));
}

// A copy under another file name starts from its own, empty configuration and
// leaves the first copy's alone.
TEST_F(WholeRoad, ASecondCopyKeepsItsOwnConfiguration) {
    write_setting(L"ZV-KOB", L"ZV_KOB_LOCATION_TEXTBOX", config.program_folder);
    write_setting(L"ZV-KOB", L"USE_QT_BAT_TICKBOX", L"1");
    ScratchFolder other(L"whole road second");
    copy_file(zv_kob_exe(), other.file(L"Second.exe"));
    delete_section(L"Second");

    Process second(other.file(L"Second.exe"));
    main = wait_for_window(second.id(), L"TARLOWEN - ZV-KOB - Second");
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(checked(m(main_layout::qt_chosen)));
    click(m(main_layout::settings_button));
    settings = wait_for_window(second.id(), settings_caption);
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(text(s(settings_layout::program_folder)), L"");
    type(s(settings_layout::program_folder), other.path());
    click(s(settings_layout::save_to_registry_button));
    ASSERT_TRUE(wait_until([&] { return text(s(settings_layout::close_button)) == L"Close"; }, 3s));
    click(s(settings_layout::close_button));
    ASSERT_TRUE(wait_until([&] { return !IsWindow(settings); }, 5s));
    ASSERT_TRUE(close_and_wait(main, second));

    EXPECT_EQ(read_section(L"Second")[L"ZV_KOB_LOCATION_TEXTBOX"], other.path());
    EXPECT_EQ(read_section(L"ZV-KOB"), (Section{{L"ZV_KOB_LOCATION_TEXTBOX", config.program_folder},
                                                {L"USE_QT_BAT_TICKBOX", L"1"}}));
    delete_section(L"Second");
}

// Two mistakes a user makes on the way: saving the batch files into a folder
// that does not exist, and launching before any batch file was written.
TEST_F(WholeRoad, MistakesOnTheWayAreExplainedAndChangeNothing) {
    ASSERT_NO_FATAL_FAILURE(start_zv_kob());
    const std::wstring missing_folder = folder.file(L"no such folder");
    click(m(main_layout::settings_button));
    settings = wait_for_window(program->id(), settings_caption);
    ASSERT_NE(settings, nullptr);
    type(s(settings_layout::program_folder), missing_folder);
    type(s(settings_layout::qt_file), L"zv-road-qt");
    click(s(settings_layout::save_to_registry_button));
    const std::wstring refused = answer_next_box(program->id(), press_ok);
    EXPECT_NE(refused.find(L"The QT Filename \"zv-road-qt\" is not a name ZV-KOB can watch"),
              std::wstring::npos)
        << narrow(refused);
    EXPECT_EQ(read_section(L"ZV-KOB"), Section{}) << "nothing was saved";
    type(s(settings_layout::qt_file), L"zv-road-qt.exe");
    click(s(settings_layout::save_to_registry_button));
    ASSERT_TRUE(wait_until([&] { return text(s(settings_layout::close_button)) == L"Close"; }, 3s));
    click(s(settings_layout::save_bat_files_button));
    const std::wstring asked = answer_next_box(program->id(), press_yes);
    EXPECT_NE(asked.find(L"There is no program file at\n\\zv-road-qt.exe"), std::wstring::npos)
        << narrow(asked);
    HWND box = wait_for_message_box(program->id());
    ASSERT_NE(box, nullptr) << "the user is told";
    const std::wstring said = message_box_text(box);
    EXPECT_NE(said.find(missing_folder + L"\\ZVKOB-QT.BAT"), std::wstring::npos) << narrow(said);
    press_ok(box);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(box); }, 5s));
    EXPECT_FALSE(file_exists(missing_folder)) << "no folder was made";
    EXPECT_FALSE(file_exists(folder.file(L"ZVKOB-QT.BAT")));
    click(s(settings_layout::close_button));
    ASSERT_TRUE(wait_until([&] { return !IsWindow(settings) && enabled(main); }, 5s));

    // LAUNCH with no batch file written: the message names it, the window stays usable.
    ASSERT_NO_FATAL_FAILURE(tick(m(main_layout::qt_chosen)));
    ASSERT_TRUE(wait_until([&] { return ready_to_launch(); }, 3s));
    click(m(main_layout::launch_button));
    box = wait_for_message_box(program->id());
    ASSERT_NE(box, nullptr);
    EXPECT_NE(message_box_text(box).find(missing_folder + L"\\ZVKOB-QT.BAT"), std::wstring::npos)
        << narrow(message_box_text(box));
    press_ok(box);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(box); }, 5s));
    click(m(main_layout::start_stop_button));
    EXPECT_TRUE(wait_until([&] { return text(m(main_layout::start_stop_button)) == L"STOP"; }, 3s))
        << "the window goes on working";
    ASSERT_TRUE(close_and_wait(main, *program));
}

}  // namespace
}  // namespace zvkob::e2e
