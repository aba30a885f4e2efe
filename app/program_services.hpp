#pragma once
#include <chrono>
#include <memory>
#include <string>

#include "core/event_gate.hpp"
#include "platform/win32/processes/hidden_command_runner.hpp"
#include "platform/win32/registry_settings_store.hpp"
#include "platform/win32/run_key_startup_entry.hpp"
#include "platform/win32/win32_background_work.hpp"
#include "platform/win32/files/win32_batch_file_writer.hpp"
#include "platform/win32/win32_clock.hpp"
#include "guardian/node/wallets_over_rpc.hpp"
#include "platform/win32/files/win32_file_system.hpp"
#include "platform/win32/files/win32_folder_picker.hpp"
#include "platform/win32/network/win32_loopback_http.hpp"
#include "platform/win32/files/win32_history.hpp"
#include "platform/win32/processes/win32_node_control.hpp"
#include "platform/win32/notification_area/win32_notification_area.hpp"
#include "platform/win32/notification_area/win32_notifier.hpp"
#include "platform/win32/processes/win32_other_copies.hpp"
#include "platform/win32/win32_pause.hpp"
#include "platform/win32/network/win32_port_listeners.hpp"
#include "platform/win32/power/win32_power_request.hpp"
#include "platform/win32/power/win32_power_source.hpp"
#include "platform/win32/network/win32_link_cost.hpp"
#include "platform/win32/processes/win32_process_priority.hpp"
#include "platform/win32/files/win32_record_writer.hpp"
#include "platform/win32/notification_area/win32_taskbar_button.hpp"
#include "platform/win32/windows/win32_clipboard.hpp"
#include "platform/win32/service/win32_node_service.hpp"
#include "platform/win32/processes/wmi_process_probe.hpp"

namespace zvkob::win32 {

// The Win32 services of one copy, each made after those it relies on and so
// let go of before them: the history first (everything records into it,
// and it goes last, once every line is written), the worker last (it goes
// first, and its pieces use the rest).
struct ProgramServices {
    explicit ProgramServices(const std::string& instance);

    Win32History history;
    RegistrySettingsStore store;
    WmiProcessProbe probe;
    HiddenCommandRunner runner;
    Win32Pause pause;
    Win32Clock clock;
    Win32FileSystem files;
    RunKeyStartupEntry startup;
    Win32NodeControl nodes;
    Win32OtherCopies copies;
    Win32TaskbarButton taskbar;
    Win32NotificationArea tray_area;  // its icon goes with it
    Win32Notifier notifier;
    EventGate gate;
    Win32BatchFileWriter batch_files;
    Win32LoopbackHttp http;
    Win32PortListeners listeners;
    // Care while the node syncs: the power request is let go before the
    // window's thread ends, the folder dialog is shown on it.
    Win32PowerRequest power;
    Win32PowerSource power_source;
    Win32ProcessPriority priority;
    Win32RecordWriter records;
    Win32LinkCost link_cost;
    Win32Clipboard clipboard;
    Win32NodeService node_service;
    Win32FolderPicker folder_picker{FolderDialog::newer};
    WalletsOverRpc wallets{http, listeners, files};
    Win32BackgroundWork background;  // its answers go through the gate
};

// How long a closing ZV-KOB waits for a piece of work still running.
inline constexpr std::chrono::seconds longest_wait_for_the_worker{5};

// Holds the services while the program runs, and lets go of them in a fixed
// order however it ends: the worker is stopped and waited for before any
// service its pieces use goes; the pieces not begun by then are dropped, each
// recording in the history what was not done. A piece that has not ended in time (a network
// path that does not answer) keeps what it uses until the process ends with
// it: the history is written out and the icon taken away first.
class ServicesOfTheRun {
public:
    explicit ServicesOfTheRun(const std::string& instance)
        : services_(std::make_unique<ProgramServices>(instance)) {}
    ~ServicesOfTheRun();
    ServicesOfTheRun(const ServicesOfTheRun&) = delete;
    ServicesOfTheRun& operator=(const ServicesOfTheRun&) = delete;

    ProgramServices& get() { return *services_; }

private:
    std::unique_ptr<ProgramServices> services_;
};

}  // namespace zvkob::win32
