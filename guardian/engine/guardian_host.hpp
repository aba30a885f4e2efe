#pragma once
#include <chrono>
#include <string_view>

#include "guardian/node/node_of_this_copy.hpp"
#include "platform/notification_area.hpp"

namespace zvkob {

// The guarding ticks whoever runs the guardian keeps (the window: its menu).
enum class GuardTick {
    show_progress,
    keep_awake,
    battery_stop,
    metered_pause,
    low_priority,
    check_data_drive,
    safe_sign_out,
};

// What the guardian asks of whoever runs it: the window today. It answers on
// the guardian's thread; nothing here waits on the node.
class GuardianHost {
public:
    virtual ~GuardianHost() = default;

    virtual bool ticked(GuardTick tick) const = 0;
    // The guardian's state changed: shown once the event that changed it ends.
    virtual void show_guardian_state() = 0;
    // A message the user answers with OK, the state of now shown behind it.
    virtual void tell_user(std::string_view message) = 0;
    // A quiet notice (where it can be given: the notification area's rules decide).
    virtual void notify(NoticeKind kind, std::string_view title, std::string_view text) = 0;
    // Back Up Wallets can be asked for now, or not.
    virtual void offer_wallet_backup(bool offered) = 0;
    // The node at a glance follows another node: its catch-up may be told again.
    virtual void following_another_node() = 0;
    // ZV-KOB is closing: nothing new is held for later.
    virtual bool is_closing() const = 0;

    // The countdown that starts the chosen program: the window's, with its
    // controls and timer.
    virtual bool countdown_runs() const = 0;
    virtual StartRequest countdown_for() const = 0;
    virtual void arm_countdown(std::chrono::milliseconds wait, StartRequest for_whom) = 0;
    virtual void disarm_countdown() = 0;
};

}  // namespace zvkob
