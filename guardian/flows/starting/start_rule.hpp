#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "guardian/engine/guardian_engine.hpp"
#include "guardian/flows/starting/start_check_events.hpp"

namespace zvkob {

// Why a node program may not start now.
enum class StartRefusal {
    none,
    session_ending,       // Windows is ending the session
    not_watched,          // the process query fails: the window cannot tell what runs
    node_runs,            // this copy's node of that program runs
    node_stopping,        // it is being asked to stop
    data_folder_missing,  // Check the Data Drive: the folder is not there
    short_of_space,       // Check the Data Drive: less than the floor is free
};

struct StartAnswer {
    StartRefusal refusal = StartRefusal::none;
    std::string reason;            // in words, for a message or the history
    std::uint64_t free_bytes = 0;  // when short of space
    bool allowed() const { return refusal == StartRefusal::none; }
};

// While the process query fails for a program nothing may be started: the
// watcher cannot tell whether it already runs. Gives "whether the QT program
// runs." and the query's error, or nothing when both programs are watched.
std::optional<std::string> unwatched_programs(const GuardianEngine& engine);

// The one rule LAUNCH, the countdown's zero step and Keep Node Running ask
// before a start of `program`. Each caller shows or records the reason. The
// data drive is asked in the background first (start_check_events.hpp); its answer
// is `drive` (by default: nothing to hold the start).
StartAnswer may_start_now(const GuardianEngine& engine, const GuardedProgram& program,
                          const DriveCheck& drive = {});

}  // namespace zvkob
