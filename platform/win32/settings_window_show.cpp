#include "platform/win32/settings_window_show.hpp"

#include "platform/win32/message_loop.hpp"
#include "platform/win32/win32_notifier.hpp"
#include "platform/win32/window_host.hpp"
#include "settings_window/open_unload.hpp"
#include "settings_window/settings_window.hpp"

namespace zvkob::win32 {
namespace {

// The window manager knows the settings window's handle for as long as it is shown.
class Attached {
public:
    Attached(Win32WindowManager& windows, HWND settings) : windows_(windows) {
        windows.attach_settings_window(settings);
    }
    ~Attached() { windows_.attach_settings_window(nullptr); }
    Attached(const Attached&) = delete;
    Attached& operator=(const Attached&) = delete;

private:
    Win32WindowManager& windows_;
};

}  // namespace

void show_settings_window(HWND owner, EventGate& gate, const SettingsWindowServices& services,
                          HandOverReceiver& main, Win32WindowManager& windows) {
    HWND shown = nullptr;
    Win32Notifier notifier([&shown, owner] { return shown != nullptr ? shown : owner; });
    SettingsWindow window(
        {services.store, services.batch_files, services.files, notifier, services.history}, main);
    const auto timers = window.timers();
    WindowHost host({window.controls, window.frame, {timers.begin(), timers.end()}}, gate, owner);
    shown = host.handle();
    Attached attached(windows, shown);
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
                notifier.show_error(saved.reason());
            }
            EnableWindow(owner, TRUE);  // before the window goes, so the owner is activated again
        });
    };
    gate.run([&window] { open_settings_window(window); });
    host.show();
    run_modal(host.handle(), owner);
}

}  // namespace zvkob::win32
