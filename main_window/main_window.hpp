#pragma once
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>
#include <string>
#include <string_view>

#include "core/colours.hpp"
#include "core/controls.hpp"
#include "core/event_gate.hpp"
#include "core/service/channel_messages.hpp"
#include "core/settings/hand_over.hpp"
#include "core/settings/stored_settings.hpp"
#include "core/notification_area/tray_rules.hpp"
#include "core/window_frame.hpp"
#include "guardian/countdown_state.hpp"
#include "guardian/engine/guardian_engine.hpp"
#include "guardian/node/folder_keys.hpp"
#include "guardian/node/node_of_this_copy.hpp"
#include "main_window/process_status.hpp"
#include "guardian/node/progress_watch.hpp"
#include "guardian/start_check_state.hpp"
#include "main_window/closing_state.hpp"
#include "platform/background_work.hpp"
#include "platform/clock.hpp"
#include "platform/clipboard.hpp"
#include "platform/command_runner.hpp"
#include "platform/file_system.hpp"
#include "platform/folder_picker.hpp"
#include "platform/history.hpp"
#include "platform/node_service.hpp"
#include "platform/loopback_http.hpp"
#include "platform/node_control.hpp"
#include "platform/node_wallets.hpp"
#include "platform/notification_area.hpp"
#include "platform/notifier.hpp"
#include "platform/other_copies.hpp"
#include "platform/pause.hpp"
#include "platform/port_listeners.hpp"
#include "platform/power_request.hpp"
#include "platform/process_probe.hpp"
#include "platform/settings_store.hpp"
#include "platform/startup_entry.hpp"
#include "platform/taskbar_button.hpp"
#include "platform/window_manager.hpp"

namespace zvkob {

struct MainWindowServices {
    EventGate& events;
    SettingsStore& store;
    ProcessProbe& probe;
    CommandRunner& runner;
    Pause& pause;
    WindowManager& windows;
    Notifier& notifier;
    Clock& clock;
    History& history;
    FileSystem& files;
    StartupEntry& startup;
    NodeControl& nodes;
    OtherCopies& copies;
    BackgroundWork& background;
    TaskbarButton& taskbar;
    NotificationArea& tray_area;
    LoopbackHttp& http;        // the node's RPC, asked on the worker
    PortListeners& listeners;  // who listens on the node's RPC port
    // Care while the node syncs.
    PowerRequest& power;
    FolderPicker& folder_picker;
    NodeWallets& wallets;
    PowerSource& power_source;  // the battery stop reads it
    ProcessPriority& priority;  // the node's, at low priority
    RecordWriter& records;      // the node's measured stops, a pause to resume
    LinkCost& link_cost;        // whether the link is metered
    Clipboard& clipboard;       // the report for help goes there
    NodeService& node_service;  // the service that starts the node before sign-in
};

// One of the two node programs, as the main window knows it.
class NodeProgram {
public:
    NodeProgram(GuardedProgram& guarded, Tickbox& chosen, Label& status_label, TextBox& image_copy,
                TextBox& batch_path_copy);

    GuardedProgram& guarded;         // the guardian's: its names, what the watcher saw, its node
    const std::string_view name;     // "QT" or "DAEMON", as the window and its messages say
    const bool runs_in_console;      // the DAEMON program: asked to stop with Ctrl+C, not a close
    Tickbox& chosen;                 // its launch mode: LAUNCH and the countdown start it
    ProcessStatus status;            // whether it runs, shown by its status label
    std::string& image;              // the image name the watcher looks for
    std::string& batch_path;         // the batch file that starts it
    std::int64_t& running_since_ms;  // when the watcher first saw it running
    NodeOfThisCopy& node;            // the process this copy started or adopted, and its life

    // Shows the image name and batch file path in the window's hidden copies.
    void show_copies();

    // How the history and messages name it: "the DAEMON program
    // (bitcoind.exe)", with "process 5000" once this copy's node is known.
    std::string described() const { return guarded.described(); }

private:
    TextBox& image_copy_;
    TextBox& batch_path_copy_;
};

// The start-up window: its controls, timers and the countdown, with every
// event handler wired to them. Its life is the life of the program. It takes
// over what the settings window hands it.
class MainWindow : public HandOverReceiver, public GuardianHost {
public:
    MainWindow(const MainWindowServices& services, std::string instance_name);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    MainWindowServices services;
    const std::string instance_name;
    // The name of this copy's service of "Start the Node Before Sign-In".
    const std::string service_name;

    WindowFrame frame;
    ControlSet controls;

    Tickbox& always_on_top;
    Button& settings_button;
    Button& launch_button;
    Button& start_stop_button;
    Tickbox& auto_start;
    Tickbox& auto_close;
    TextBox& countdown_display;  // the seconds left; its colour is the launch indicator
    Label& instance_label;

    // The window menu's own commands.
    MenuItem& keep_node_running;
    MenuItem& safe_sign_out;
    MenuItem& check_data_drive;
    MenuItem& start_with_windows;
    MenuItem& before_sign_in;
    // The node as this copy's service shows it, while the service guards it.
    std::optional<ServiceView> service_view;
    bool service_looked_at = false;  // what became of it, told once after the window opened
    MenuItem& show_progress;
    MenuItem& show_in_notification_area;
    MenuItem& keep_awake;
    MenuItem& battery_stop;
    MenuItem& metered_pause;
    MenuItem& low_priority;
    MenuItem& stop_node;
    MenuItem& back_up_wallets;
    MenuItem& history_command;
    MenuItem& copy_report;

    // For whom the countdown runs: LAUNCH's user, Keep Node Running's
    // restart or the mains restart.
    CountdownRun countdown;
    // The guarding features, as one engine apart from the window, which it
    // runs as its host; Keep Node Running reads the window's tick and whether
    // its countdown runs.
    GuardianEngine engine{
        {services.history,       services.clock,      services.windows,      services.files,
         services.records,       services.power,      services.power_source, services.link_cost,
         services.priority,      services.background, services.events,       services.http,
         services.listeners,     services.nodes,      services.wallets,      services.store,
         services.folder_picker, services.probe,      services.copies,       services.clipboard},
        *this,
        {[this] { return keep_node_running.ticked(); },
         [this] { return countdown_timer.enabled(); }},
        countdown};
    Guardian& guardian = engine.guardian;
    NodeProgram qt;
    NodeProgram daemon;

    Timer countdown_timer{"countdown"};
    Timer auto_close_timer{"auto-close"};
    Timer watcher_timer{"watcher", TickEffect::reads_only};
    Timer always_on_top_timer{"always on top"};
    Timer progress_timer{"node progress", TickEffect::reads_only};
    Timer tray_retry_timer{"notification area"};

    // The launch indicator, the countdown display's colour: a start by
    // LAUNCH, by the countdown and the auto-close all set it, and the shown
    // state paints it.
    Colour indicator = colours::pink;
    // One look per event (shown_state.hpp): while an event runs, showing the
    // state is held until its end.
    bool look_held = false;
    bool look_due = false;

    // The node's data folder and the wallet backup's, kept by the engine.
    std::string& data_folder = engine.data_folder;
    std::string& backup_folder = engine.backup_folder;

    // Closing, why, and the settings window's pending close.
    WindowClosing closing;
    // The icon in the notification area, and the window hidden behind it.
    TrayKeeper tray;
    // A start waiting on the data drive's check.
    StartCheckWait start_check;

    // Answers of checks in the background reach the window only while it lives.
    const std::shared_ptr<const int> lifetime = std::make_shared<const int>(0);
    // The forms this copy's data folder and the nodes' folders are compared by.
    FolderKeys& folders = engine.folders;

    std::array<NodeProgram*, 2> programs() { return {&qt, &daemon}; }
    // The window's side of one of the guardian's programs.
    const NodeProgram& program_of(const GuardedProgram& program) const {
        return &program == &qt.guarded ? qt : daemon;
    }
    std::array<Timer*, 6> timers() {
        return {&countdown_timer,     &auto_close_timer, &watcher_timer,
                &always_on_top_timer, &progress_timer,   &tray_retry_timer};
    }

    // Where the window keeps each setting it reads and writes.
    SettingFields stored_fields();

    void take_over(const HandOver& hand_over) override;

    // What the guardian asks of its host (hosting_the_guardian.cpp).
    bool ticked(GuardTick tick) const override;
    void show_guardian_state() override;
    void tell_user(std::string_view message) override;
    void notify(NoticeKind kind, std::string_view title, std::string_view text) override;
    void offer_wallet_backup(bool offered) override;
    void following_another_node() override;
    bool is_closing() const override;
    bool countdown_runs() const override;
    StartRequest countdown_for() const override;
    void arm_countdown(std::chrono::milliseconds wait, StartRequest for_whom) override;
    void disarm_countdown() override;
};

}  // namespace zvkob
