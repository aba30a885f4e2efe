#pragma once
#include <array>
#include <string>

#include "core/controls.hpp"
#include "core/process_probe.hpp"
#include "core/settings_store.hpp"
#include "core/window_frame.hpp"
#include "main_window/process_status.hpp"
#include "platform/command_runner.hpp"
#include "platform/notifier.hpp"
#include "platform/pause.hpp"
#include "platform/window_manager.hpp"

namespace zvkob {

// A close of the main window asked for while the settings window is open.
enum class PendingClose { none, asked, auto_close };

// What the countdown is armed with: eleven seconds, as a count of days.
inline constexpr double countdown_start_days = 11.0 / 86400.0;

struct MainWindowServices {
    SettingsStore& store;
    ProcessProbe& probe;
    CommandRunner& runner;
    Pause& pause;
    WindowManager& windows;
    Notifier& notifier;
};

// The start-up window: its controls, timers and the countdown, with every
// event handler wired to them. Its life is the life of the program.
class MainWindow {
public:
    MainWindow(const MainWindowServices& services, std::string instance_name);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    MainWindowServices services;
    const std::string instance_name;

    WindowFrame frame;
    ControlSet controls;

    TextBox& DAEMOND_NAME_TEXTBOX;
    TextBox& QT_NAME_TEXTBOX;
    TextBox& BAT_DAEMON_RUN_COMMAND_TEXTBOX;
    TextBox& BAT_QT_RUN_COMMAND_TEXTBOX;
    TextBox& EXE_DAEMON_RUN_COMMAND_TEXTBOX;
    TextBox& EXE_QT_RUN_COMMAND_TEXTBOX;
    Tickbox& AlwaysOnTopTimer_TICKBOX;
    Button& SETTINGS_BUTTON;
    Tickbox& KOB_BAT_FIX_TICKBOX;
    Button& LAUNCH_BUTTON;
    Tickbox& USE_DAEMON_BAT_TICKBOX;
    Tickbox& USE_QT_BAT_TICKBOX;
    Tickbox& RUN_BAT_TICKBOX;
    Tickbox& RUN_EXE_TICKBOX;
    Tickbox& USE_DAEMON_EXE_TICKBOX;
    Tickbox& USE_QT_EXE_TICKBOX;
    Button& START_STOP_BUTTON;
    Tickbox& AUTOSTART_TICKBOX;
    Tickbox& AUTOCLOSE_TIMER_TICKBOX;
    TextBox& AUTORUN_TIMER_TEXTBOX;
    Label& DAEMON_PROCESS_ACTIVE_LABEL;
    Label& QT_PROCESS_ACTIVE_LABEL;
    Label& ZV_KOB_TITLE;
    Label& APP_EXE_NAME_LABEL;

    Timer COUNTDOWN_TIMER{"COUNTDOWN_TIMER"};
    Timer UNLOAD_TIMER{"UNLOAD_TIMER"};
    Timer KOB_PROCESS_WATCHER_TIMER{"KOB_PROCESS_WATCHER_TIMER", TickEffect::reads_only};
    Timer AlwaysOnTopTimer{"AlwaysOnTopTimer"};

    // Time left on the countdown, as a count of days (one second is 1/86400).
    double COUNTDOWN_REMAINING = 0;

    // Set once Windows is ending the session: from then on nothing is started.
    bool session_ending = false;

    // The settings window is shown, and whether the main window closes after it.
    bool settings_open = false;
    PendingClose close_after_settings = PendingClose::none;

    // The countdown has said that the process query fails; said again only
    // after the query has answered.
    bool told_nothing_is_watched = false;

    // The running state of each node program, shown by its status label.
    ProcessStatus qt_status;
    ProcessStatus daemon_status;

    std::array<Timer*, 4> timers() {
        return {&COUNTDOWN_TIMER, &UNLOAD_TIMER, &KOB_PROCESS_WATCHER_TIMER, &AlwaysOnTopTimer};
    }
};

}  // namespace zvkob
