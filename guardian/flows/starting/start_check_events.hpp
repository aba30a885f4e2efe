#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "guardian/engine/guardian_engine.hpp"

namespace zvkob {

// Before a node starts: its data folder must be there (a node started before
// its external drive is connected begins a fresh chain), and its drive must
// have a gibibyte free (a node on a full disk stops again at once). With no
// data folder set (the node's default), or with "Check the Data Drive Before a
// Start" not ticked, nothing is checked. The drive may be a network path that
// takes long to answer: it is asked away from the window's thread.

inline constexpr std::uint64_t free_space_floor = 1ULL << 30U;

struct DriveCheck {
    enum Result { fine, folder_missing, short_of_space };
    Result result = fine;
    std::uint64_t free_bytes = 0;    // when short of space
    std::string reason;              // "waiting for E:\Chain (is its drive connected?)"
    std::string free_space_unknown;  // why Windows could not tell the free space, if it could not
};

// Whether a start must check the data drive first.
bool data_drive_checked(const GuardianEngine& engine);

// Checks the drive in the background and hands the answer to `then` on the
// window's thread, once no handler is running. The display's tooltip says
// meanwhile that ZV-KOB is checking it. A free-space query that fails is
// recorded and does not hold the start.
void check_data_drive(GuardianEngine& engine, std::function<void(const DriveCheck&)> then);

// An amount of disk space as a person reads it: "12.4 GiB"; below 10 GiB in
// whole MiB, rounded down ("973 MiB"), so that a drive just short of the floor
// never reads as having it.
std::string space_text(std::uint64_t bytes);

}  // namespace zvkob
