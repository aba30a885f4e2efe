// ZV-KOB: starts and watches a full node's wallet and background programs.
// Here the program is put together: the Win32 services, the two windows and
// the claim on this copy's name, wired to each other. Nothing is decided here.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <string>
#include <vector>

#include "app/program_services.hpp"
#include "app/service_program.hpp"
#include "app/settings_window_show.hpp"
#include "core/event_gate.hpp"
#include "core/instance_name.hpp"
#include "main_window/beside_the_service.hpp"
#include "main_window/closing_events.hpp"
#include "main_window/history_beside_the_service.hpp"
#include "main_window/event_order.hpp"
#include "main_window/in_notification_area.hpp"
#include "main_window/load_unload.hpp"
#include "main_window/main_window.hpp"
#include "main_window/main_window_layout.hpp"
#include "guardian/flows/process_watcher.hpp"
#include "guardian/flows/neighbour_events.hpp"
#include "main_window/session_end_events.hpp"
#include "main_window/window_menu.hpp"
#include "platform/win32/processes/com_apartment.hpp"
#include "platform/win32/windows/message_loop.hpp"
#include "platform/win32/processes/one_copy_per_name.hpp"
#include "platform/win32/files/program_file.hpp"
#include "platform/win32/wide_text.hpp"
#include "platform/win32/notification_area/win32_notification_area.hpp"
#include "platform/win32/notification_area/win32_taskbar_button.hpp"
#include "platform/win32/windows/win32_window_manager.hpp"
#include "platform/win32/windows/window_host.hpp"

namespace zvkob::win32 {
namespace {

// What happens at the icon, to the window or to the taskbar, as the main
// window's events. A click on the icon or its menu is dropped under a message
// box, as a click on the window is; the rest waits for the box.
void translate_tray_event(MainWindow& main, EventGate& gate, const TrayEvent& event) {
    if (event.kind == TrayEventKind::menu) {
        gate.run([&main, event] { tray_event(main, event); });
        return;
    }
    static constexpr std::array<char, 6> keys{};  // one waiting event of each kind
    gate.run_when_free(&keys[static_cast<std::size_t>(event.kind)],
                       [&main, event] { tray_event(main, event); });
}

// The PC resumed from sleep or hibernation (the automatic resume comes first;
// the other follows once the user is back): the event waits for a handler
// that is under way, as a tick does. The battery stop hears every power
// event after that, one waiting event of each kind.
void translate_power_event(MainWindow& main, EventGate& gate, WPARAM event, LPARAM setting) {
    if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND) {
        static constexpr char key{};
        gate.run_when_free(&key, [&main] { pc_resumed(main); });
    }
    const PowerEvent power = power_event_of(event, setting);
    if (power.kind != PowerEvent::Kind::other) {
        static constexpr std::array<char, 6> keys{};
        gate.run_when_free(&keys[static_cast<std::size_t>(power.kind)],
                           [&main, power] { power_broadcast(main.engine, power); });
    }
}

// Windows' messages to the main window that are not about its controls, as calls.
bool translate_program_message(MainWindow& main, EventGate& gate, Win32TaskbarButton& taskbar,
                               Win32OtherCopies& copies, UINT message, WPARAM wparam, LPARAM lparam,
                               LRESULT& result) {
    if (message == Win32TaskbarButton::created_message()) {
        taskbar.created();
        result = 0;
        return true;
    }
    if (const auto answer = copies.answer(
            message, wparam, lparam, [&main](unsigned long id) { return node_claim(main.engine, id); })) {
        result = *answer;
        return true;
    }
    switch (message) {
        case WM_QUERYENDSESSION:
            result = session_end_requested(main) ? TRUE : FALSE;
            return true;
        case WM_ENDSESSION:
            session_end_decided(main, wparam != FALSE);
            result = 0;
            return true;
        case WM_POWERBROADCAST:
            translate_power_event(main, gate, wparam, lparam);
            result = TRUE;
            return true;
        default:
            return false;
    }
}

// The main window, from its making until it has gone.
void run_main_window(ProgramServices& s, const std::string& instance) {
    // What both windows record goes to the service while it guards the node.
    HistoryBesideTheService history(s.history, s.node_service);
    Win32WindowManager windows([&s, &history](HandOverReceiver& main) {
        show_settings_window(
            s.gate, {s.store, s.batch_files, s.files, s.notifier, history, s.gate, s.background},
            main);
    });
    MainWindow main({s.gate,      s.store,        s.probe,     s.runner,     s.pause,
                     windows,     s.notifier,     s.clock,     history,      s.files,
                     s.startup,   s.nodes,        s.copies,    s.background, s.taskbar,
                     s.tray_area, s.http,         s.listeners, s.power,      s.folder_picker,
                     s.wallets,   s.power_source, s.priority,  s.records,    s.link_cost,
                     s.clipboard, s.node_service},
                    instance);
    history.hand_to([&main] { return guarding_service(main); });
    const auto timers = main.timers();
    WindowHost host({main.controls,
                     main.frame,
                     {timers.begin(), timers.end()},
                     [&main] { window_menu_opening(main); }},
                    s.gate, nullptr);
    host.on_close = [&] {
        if (main_may_close_now(main)) {
            close_after_unload(host, s.gate, [&host, &main] {
                OneCopyPerName::closing(host.handle());  // no longer a copy to bring forward
                unload_for_close(main);
            });
        }  // else the settings window closes first, and the main window after it
    };
    host.on_message = [&](UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
        if (const auto event = s.tray_area.message(message, wparam, lparam)) {
            translate_tray_event(main, s.gate, *event);
        }
        if (message == notification_area_message) {
            result = 0;
            return true;
        }
        return translate_program_message(main, s.gate, s.taskbar, s.copies, message, wparam, lparam,
                                         result);
    };
    // An elevated ZV-KOB hears from Explorer and the other copies only what it lets through.
    ChangeWindowMessageFilterEx(host.handle(), Win32TaskbarButton::created_message(), MSGFLT_ALLOW,
                                nullptr);
    s.copies.open_to_others(host.handle());
    const PowerSettingNotifications power_settings(host.handle());
    if (!power_settings.failure().empty()) {
        s.history.record("Windows does not tell ZV-KOB of power changes (" +
                         power_settings.failure() +
                         "); the power source is read every 30 seconds instead.");
    }

    s.gate.run([&main] { load_main_window(main); });
    host.show();
    pump_messages([&host] { return !host.exists(); });
}

// The arguments ZV-KOB was started with, without its own name.
std::vector<std::string> program_arguments_given() {
    int count = 0;
    LPWSTR* given = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int at = 1; given != nullptr && at < count; ++at) {
        arguments.push_back(narrow(given[at]));
    }
    LocalFree(given);
    return arguments;
}

int run_program() {
    const std::string instance = instance_name_from_path(program_file_path());
    const std::vector<std::string> given = program_arguments_given();
    const ProgramArguments arguments = program_arguments(given);
    switch (arguments.role) {
        case ProgramRole::service:
            return run_service_program(instance);
        case ProgramRole::install_service:
        case ProgramRole::repair_service:
        case ProgramRole::remove_service:
            return run_setup_program(arguments, instance);
        case ProgramRole::window:
            break;
    }
    OneCopyPerName one_copy(instance, main_window_caption(instance));
    if (!one_copy.only_copy()) {
        one_copy.bring_running_copy_forward();
        return 0;  // the running copy goes on; this one stores nothing
    }
    ComApartment com;
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    ServicesOfTheRun services(instance);
    run_main_window(services.get(), instance);
    one_copy.give_way();  // a copy started now opens while this one writes its history
    return 0;
}

}  // namespace
}  // namespace zvkob::win32

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        return zvkob::win32::run_program();
    } catch (const std::exception& failure) {
        // Nothing was saved over: the settings stay as they were.
        MessageBoxW(
            nullptr,
            zvkob::win32::widen(std::string("ZV-KOB cannot start: ") + failure.what()).c_str(),
            L"ZV-KOB", MB_OK | MB_ICONERROR);
        return 1;
    }
}
