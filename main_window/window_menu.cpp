#include "main_window/window_menu.hpp"

namespace zvkob {

void window_menu_opening(MainWindow& w) {
    w.start_with_windows.set_ticked(w.services.startup.registered());
}

void start_with_windows_clicked(MainWindow& w) {
    StartupEntry& startup = w.services.startup;
    const bool on = !startup.registered();
    const Outcome changed = on ? startup.add() : startup.remove();
    w.start_with_windows.set_ticked(startup.registered());
    if (!changed) {
        w.services.history.record("Start With Windows could not be switched " +
                                  std::string(on ? "on" : "off") + ": " + changed.reason());
        w.services.notifier.show_error(
            std::string("ZV-KOB could not ") + (on ? "add itself to" : "remove itself from") +
            " the programs Windows starts at sign-in.\n\n" + changed.reason());
        return;
    }
    w.services.history.record(on ? "Start With Windows switched on."
                                 : "Start With Windows switched off.");
}

void history_clicked(MainWindow& w) {
    History& history = w.services.history;
    if (const auto failure = history.failure()) {
        w.services.notifier.show_error("ZV-KOB cannot write its history to " + history.path() +
                                       ".\n\n" + *failure +
                                       "\n\nZV-KOB goes on working; it tries again at the next "
                                       "event.");
        return;
    }
    if (const Outcome opened = history.open(); !opened) {
        w.services.notifier.show_error("ZV-KOB could not open its history, " + history.path() +
                                       ".\n\n" + opened.reason());
    }
}

}  // namespace zvkob
