#include "main_window/launcher.hpp"

namespace zvkob {
namespace {

constexpr int launch_pause_ms = 3000;

std::string start_failure_message(std::string_view program, std::string_view command,
                                  std::string_view reason) {
    return "ZV-KOB could not start the " + std::string(program) + " program.\n\nCommand: " +
           (command.empty() ? std::string("(none is set)") : std::string(command)) +
           "\nReason: " + std::string(reason) +
           "\n\nCheck the settings and the .BAT files, then try again.";
}

// A manual launch stops the countdown, unless the launch was not even tried.
void launch_by_hand(MainWindow& w, std::string_view program, const std::string& command) {
    if (launch_step(w, program, command, colours::cyan, colours::pink) !=
        LaunchResult::not_allowed) {
        w.COUNTDOWN_TIMER.set_enabled(false);
    }
}

}  // namespace

LaunchResult launch_step(MainWindow& w, std::string_view program, std::string command,
                         Colour during, Colour after) {
    if (w.session_ending) {
        return LaunchResult::not_allowed;
    }
    w.AUTORUN_TIMER_TEXTBOX.set_back_colour(during);
    const Outcome started = w.services.runner.run_hidden(command);
    if (!started) {
        // Back at rest before the message, so the window behind it is true.
        w.AUTORUN_TIMER_TEXTBOX.set_back_colour(colours::pink);
        w.services.notifier.show_error(start_failure_message(program, command, started.reason()));
        return LaunchResult::failed;
    }
    w.services.pause.pause(launch_pause_ms);
    w.AUTORUN_TIMER_TEXTBOX.set_back_colour(after);
    return LaunchResult::started;
}

void launch_click(MainWindow& w) {
    // Read once: the statuses are not looked at again between the two launches.
    const bool one_stopped = w.qt_status.stopped() || w.daemon_status.stopped();
    if (!one_stopped) {
        return;
    }
    if (w.USE_QT_BAT_TICKBOX.tick() == 1) {
        launch_by_hand(w, "QT", w.BAT_QT_RUN_COMMAND_TEXTBOX.text());
    }
    if (w.USE_DAEMON_BAT_TICKBOX.tick() == 1) {
        launch_by_hand(w, "DAEMON", w.BAT_DAEMON_RUN_COMMAND_TEXTBOX.text());
    }
}

}  // namespace zvkob
