#pragma once
#include "guardian/care/antivirus_hint.hpp"
#include "guardian/care/node_warning_notes.hpp"
#include "guardian/care/pc_awake.hpp"
#include "guardian/care/runway_watch.hpp"
#include "guardian/care/wallet_backup_state.hpp"
#include "guardian/countdown_state.hpp"
#include "guardian/keep_node_running.hpp"
#include "guardian/node/guarded_program.hpp"
#include "guardian/node/node_glance_state.hpp"
#include "guardian/power/metered_guard.hpp"
#include "guardian/power/node_priority_guard.hpp"
#include "guardian/power/power_guard.hpp"
#include "guardian/query_failing_notes.hpp"
#include "guardian/session_end_state.hpp"
#include "core/event_gate.hpp"
#include "platform/background_work.hpp"
#include "platform/clock.hpp"
#include "platform/clipboard.hpp"
#include "platform/file_system.hpp"
#include "platform/folder_picker.hpp"
#include "platform/history.hpp"
#include "platform/loopback_http.hpp"
#include "platform/node_control.hpp"
#include "platform/node_wallets.hpp"
#include "platform/port_listeners.hpp"
#include "platform/other_copies.hpp"
#include "platform/power_request.hpp"
#include "platform/process_probe.hpp"
#include "platform/settings_store.hpp"
#include "platform/window_manager.hpp"

namespace zvkob {

// What the guarding features reach of the PC.
struct GuardianServices {
    History& history;
    Clock& clock;
    WindowManager& windows;       // the session's end, and its hold
    FileSystem& files;            // the records kept beside the history
    RecordWriter& records;        // the node's measured stops, a pause to resume
    PowerRequest& power;          // Keep the PC Awake
    PowerSource& power_source;    // the battery stop reads it
    LinkCost& link_cost;          // whether the link is metered
    ProcessPriority& priority;    // the node's, at low priority
    BackgroundWork& background;   // what may wait on a disk or the node, on the worker
    EventGate& events;            // what acts waits for a message box to close
    LoopbackHttp& http;           // the node's RPC, asked on the worker
    PortListeners& listeners;     // who listens on the node's RPC port
    NodeControl& nodes;           // Ctrl+C, a close, the interpreter left waiting
    NodeWallets& wallets;         // backupwallet
    SettingsStore& store;         // the wallet backup's folder
    FolderPicker& folder_picker;  // where the wallets are backed up to
    ProcessProbe& probe;          // which programs run, by image name
    OtherCopies& copies;          // whose node is whose, asked of the other copies
    Clipboard& clipboard;         // the report for help goes there
};

// The guarding features of this copy, held apart from the window: each
// keeps its own state, and the event functions (main_window/event_order.hpp)
// say in which order they hear of events. The countdown's run is the
// window's (its timer and controls); Keep Node Running only reads it.
struct Guardian {
    Guardian(const GuardianServices& services, KeepRunningSwitches switches,
             CountdownRun& countdown)
        : node_keeper(std::move(switches), countdown, services.history, services.clock),
          sign_out(services.windows, services.history),
          query_failing(services.history),
          pc_awake(services.power, services.history),
          battery(services.power_source, services.history, services.files, services.records),
          metered(services.link_cost, services.history, services.files, services.records),
          node_priority(services.priority, services.history) {}

    // The two node programs and this copy's node of each: the process it
    // started or adopted, its life, log and RPC.
    GuardedProgram qt{"QT", false};
    GuardedProgram daemon{"DAEMON", true};
    // Keep Node Running: its decisions, restarts and back-off.
    KeepNodeRunning node_keeper;
    // The end of the Windows session, and its hold for the node to stop.
    SignOutHold sign_out;
    // The node at a glance, and what the worker is checking for the window.
    NodeGlance glance;
    // What was said of a failing process query.
    QueryFailingNotes query_failing;
    // Care while the node syncs: the PC kept awake, the node's drive, its
    // warnings and its wallets' backups.
    PcAwake pc_awake;
    RunwayWatch runway;
    NodeWarningNotes node_warnings;
    WalletBackups wallet_backups;
    AntivirusHint antivirus_hint;
    // Stop Node Before the Battery Runs Out, and the power source it reads.
    PowerGuard battery;
    // Pause the Node's Network on Metered Links.
    MeteredGuard metered;
    // Run the Node at Low Priority: the priority set on the node.
    NodePriorityGuard node_priority;
};

}  // namespace zvkob
