#include "settings_window/settings_window_events.hpp"

#include "settings_window/always_on_top_choice.hpp"
#include "settings_window/credit_line.hpp"
#include "settings_window/run_command.hpp"
#include "settings_window/save_bat_files.hpp"
#include "settings_window/save_to_registry.hpp"
#include "settings_window/wallet_options.hpp"

namespace zvkob {

void wire_settings_window_events(SettingsWindow& w) {
    w.ZV_KOB_CREATOR.set_on_click([&w] { credit_line_clicked(w); });
    w.AlwaysOnTopTimer_TICKBOX.set_on_click([&w] { always_on_top_clicked(w); });
    w.WALLET_TICKBOX.set_on_click([&w] { wallet_clicked(w); });
    w.DISABLE_WALLET_TICKBOX.set_on_click([&w] { disabled_clicked(w); });
    w.SAVE_REGISTRY_BUTTON.set_on_click([&w] { save_to_registry(w); });
    w.SAVE_BATS_BUTTON.set_on_click([&w] { save_bat_files(w); });
    w.CLOSE_BUTTON.set_on_click([&w] {
        if (w.request_close) {
            w.request_close();
        }
    });
    w.QT_BAT_COMMAND_TIMER.set_on_tick([&w] { compose_qt_run_command(w); });
    w.DAEMON_BAT_COMMAND_TIMER.set_on_tick([&w] { compose_daemon_run_command(w); });
}

}  // namespace zvkob
