#include "settings_window/settings_window_events.hpp"

#include "settings_window/always_on_top_choice.hpp"
#include "settings_window/credit_line.hpp"
#include "settings_window/run_command.hpp"
#include "settings_window/save_bat_files.hpp"
#include "settings_window/save_to_registry.hpp"
#include "settings_window/wallet_options.hpp"

namespace zvkob {

void wire_settings_window_events(SettingsWindow& w) {
    w.credit_line.set_on_click([&w] { credit_line_clicked(w); });
    w.always_on_top.set_on_click([&w] { always_on_top_clicked(w); });
    w.wallet.set_on_click([&w] { wallet_clicked(w); });
    w.wallet_disabled.set_on_click([&w] { disabled_clicked(w); });
    w.save_to_registry_button.set_on_click([&w] { save_to_registry(w); });
    w.save_bat_files_button.set_on_click([&w] { save_bat_files(w); });
    w.close_button.set_on_click([&w] {
        if (w.request_close) {
            w.request_close();
        }
    });
    w.qt_composer.set_on_tick([&w] { compose_qt_run_command(w); });
    w.daemon_composer.set_on_tick([&w] { compose_daemon_run_command(w); });
}

}  // namespace zvkob
