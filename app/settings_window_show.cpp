#include "app/settings_window_show.hpp"

#include "platform/win32/windows/message_loop.hpp"
#include "platform/win32/processes/program_windows.hpp"
#include "platform/win32/windows/window_host.hpp"
#include "settings_window/open_unload.hpp"

namespace zvkob::win32 {

void show_settings_window(EventGate& gate, const SettingsWindowServices& services,
                          HandOverReceiver& main) {
    const HWND owner = main_program_window();
    SettingsWindow window(services, main);
    const auto timers = window.timers();
    WindowHost host({window.controls, window.frame, {timers.begin(), timers.end()}}, gate, owner);
    // Posted, so the click that asks for it has ended before the unload runs.
    window.request_close = [&host] {
        if (host.exists()) {
            PostMessageW(host.handle(), WM_CLOSE, 0, 0);
        }
    };
    host.on_close = [&] {
        close_after_unload(host, gate, [&] {
            const Outcome saved = unload_settings_window(window);
            if (!saved) {
                services.notifier.show_error(saved.reason());
            }
            EnableWindow(owner, TRUE);  // before the window goes, so the owner is activated again
        });
    };
    gate.run([&window] { open_settings_window(window); });
    host.show();
    run_modal(host.handle(), owner);
}

}  // namespace zvkob::win32
