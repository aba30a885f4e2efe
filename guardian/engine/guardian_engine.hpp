#pragma once
#include <array>
#include <memory>
#include <string>

#include "guardian/engine/guardian_host.hpp"
#include "guardian/guardian.hpp"
#include "guardian/node/folder_keys.hpp"

namespace zvkob {

// The guardian as one engine: what it reaches of the PC, whoever runs it,
// and its state. The guarding flows (guardian/flows/) take its events and
// carry out what its meetings (guardian/engine/) decide; none of them knows
// a window.
struct GuardianEngine {
    GuardianEngine(const GuardianServices& services_, GuardianHost& host_,
                   KeepRunningSwitches switches, CountdownRun& countdown)
        : services(services_), host(host_), guardian(services_, std::move(switches), countdown) {}
    GuardianEngine(const GuardianEngine&) = delete;
    GuardianEngine& operator=(const GuardianEngine&) = delete;

    GuardianServices services;
    GuardianHost& host;
    Guardian guardian;

    // The node's data folder (-datadir), where it keeps its own log; empty
    // for the node's default. The settings window edits it, and the watcher,
    // the start checks and the node's log all read it.
    std::string data_folder;
    // Where the last wallet backup went; the folder dialog opens there.
    std::string backup_folder;

    // Answers of the worker reach the guardian only while it lives.
    const std::shared_ptr<const int> lifetime = std::make_shared<const int>(0);
    // The forms this copy's data folder and the nodes' folders are compared by.
    FolderKeys folders{services.files, services.background, lifetime};

    std::array<GuardedProgram*, 2> programs() { return {&guardian.qt, &guardian.daemon}; }
    std::array<const GuardedProgram*, 2> programs() const {
        return {&guardian.qt, &guardian.daemon};
    }
    bool ticked(GuardTick tick) const { return host.ticked(tick); }
};

}  // namespace zvkob
