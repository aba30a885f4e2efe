#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/service/channel_messages.hpp"
#include "core/service/stop_pending_report.hpp"
#include "guardian/countdown_state.hpp"
#include "guardian/engine/guardian_engine.hpp"
#include "guardian/flows/starting/start_check_events.hpp"
#include "platform/command_runner.hpp"
#include "platform/power_source.hpp"
#include "platform/service_status.hpp"

namespace zvkob {

// The service's words for itself in the history: "The service ZV-KOB x (ann)".
struct ServiceNames {
    std::string instance;
    std::string service;
};

// The guardian as the service runs it, before anyone signs in: the same
// engine as the window's, for the DAEMON program alone, with this copy's
// stored settings. No one sees it, so it asks no one: what the window would
// show or ask goes into the history, and a start it owes (at boot, Keep Node
// Running's restart, the restart on mains) has no countdown, only its wait.
//
// Its node has no console (a console process of a service hears every
// user's sign-out as a request to shut down), so it is stopped over its RPC
// alone: when Windows shuts down or the service is stopped, the stop is
// asked again each look until the node takes it, the service manager told
// "stop pending" with a rising checkpoint until the node has gone.
class ServiceGuard final : public GuardianHost {
public:
    ServiceGuard(const GuardianServices& services, CommandRunner& runner, ServiceStatus& status,
                 ServiceNames names);

    // The service started: this copy's settings read, the node started once
    // the watcher has seen it is not running.
    void begin();
    // Twice a second, and every two seconds: the window's two timers.
    void watcher_tick();
    void progress_tick();
    // Windows shuts down, or the service is stopped: the node is stopped first.
    void stop_asked(std::string_view why);
    // The window takes the node back: the service ends, the node runs on.
    void hand_back_asked();
    // Windows' power events, and its wake.
    void power_event(const PowerEvent& event);
    void resumed();
    // Asked on the channel by the window beside it (service_channel.hpp).
    // What it shows of the node; Stop Node; a tick the window changed (the
    // stored value read again and followed); Save To Registry.
    ServiceView view();
    std::string stop_node_asked();
    void tick_changed();
    void settings_saved() { read_settings(); }
    // Back Up Wallets with the folder the window chose (its picker gives it).
    void back_up_wallets();
    // The service has told the service manager it stopped: its loop ends.
    bool ended() const { return ended_; }

    GuardianEngine& guardian_engine() { return engine_; }

    // The guardian's host.
    bool ticked(GuardTick tick) const override;
    void show_guardian_state() override {}
    void tell_user(std::string_view message) override;
    void notify(NoticeKind, std::string_view, std::string_view) override {}
    void offer_wallet_backup(bool offered) override { wallets_offered_ = offered; }
    void following_another_node() override {}
    bool is_closing() const override { return stopping_; }
    bool countdown_runs() const override { return start_due_ms_.has_value(); }
    StartRequest countdown_for() const override { return start_for_; }
    void arm_countdown(std::chrono::milliseconds wait, StartRequest for_whom) override;
    void disarm_countdown() override { start_due_ms_.reset(); }

private:
    void read_settings();
    void start_when_due();
    void start_checked(const DriveCheck& drive);
    bool start_node();
    void follow_the_stop();
    void end(std::string_view how);

    CommandRunner& runner_;
    ServiceStatus& status_;
    ServiceNames names_;
    bool keep_node_running_ = false;
    CountdownRun countdown_;
    GuardianEngine engine_;
    std::array<bool, 7> ticks_{};
    std::optional<std::int64_t> start_due_ms_;
    StartRequest start_for_ = StartRequest::countdown;
    bool checking_drive_ = false;
    std::string last_refusal_;
    bool stopping_ = false;
    bool waiting_for_rpc_told_ = false;
    bool stop_was_asked_ = false;
    StopPendingReport pending_;
    bool ended_ = false;
    bool wallets_offered_ = false;
};

}  // namespace zvkob
