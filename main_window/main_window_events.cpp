#include "main_window/main_window_events.hpp"

#include "main_window/always_on_top.hpp"
#include "main_window/auto_close.hpp"
#include "main_window/closing.hpp"
#include "main_window/countdown.hpp"
#include "main_window/launch_modes.hpp"
#include "main_window/launcher.hpp"
#include "main_window/process_watcher.hpp"

namespace zvkob {

// The inert tickboxes (RUN .BAT, RUN EXE, the EXE "QT" and "DAEMON", the
// automation fix) have no rule: a click changes their own tick and nothing else.
void wire_main_window_events(MainWindow& w) {
    w.SETTINGS_BUTTON.set_on_click([&w] { settings_click(w); });
    w.AlwaysOnTopTimer.set_on_tick([&w] { always_on_top_tick(w); });
    w.AlwaysOnTopTimer_TICKBOX.set_on_click(
        [&w] { switch_always_on_top(w, w.AlwaysOnTopTimer_TICKBOX.tick() == 1); });

    w.KOB_PROCESS_WATCHER_TIMER.set_on_tick([&w] { process_watcher_tick(w); });
    w.LAUNCH_BUTTON.set_on_click([&w] { launch_click(w); });
    w.START_STOP_BUTTON.set_on_click([&w] { start_stop_click(w); });
    w.COUNTDOWN_TIMER.set_on_tick([&w] { countdown_tick(w); });
    w.UNLOAD_TIMER.set_on_tick([&w] { auto_close_tick(w); });
    w.AUTOSTART_TICKBOX.set_on_click([&w] { autostart_rule(w); });
    w.USE_QT_BAT_TICKBOX.set_on_click([&w] { use_qt_bat_rule(w); });
    w.USE_DAEMON_BAT_TICKBOX.set_on_click([&w] { use_daemon_bat_rule(w); });
}

}  // namespace zvkob
