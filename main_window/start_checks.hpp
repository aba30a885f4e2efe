#pragma once
#include <cstdint>
#include <string>

#include "main_window/main_window.hpp"

namespace zvkob {

// Before a node starts: its data folder must be there (a node started before
// its external drive is connected begins a fresh chain), and its drive must
// have a gibibyte free (a node on a full disk stops again at once). With no
// data folder set (the node's default), or with "Check the Data Drive Before a
// Start" not ticked, nothing is checked.

inline constexpr std::uint64_t free_space_floor = 1ULL << 30U;

struct DriveCheck {
    enum Result { fine, folder_missing, short_of_space };
    Result result = fine;
    std::uint64_t free_bytes = 0;  // when short of space
    std::string reason;            // "waiting for E:\Chain (is its drive connected?)"
};

// A free-space query that fails is recorded and does not hold the start.
DriveCheck check_data_drive_now(MainWindow& window);

// "1.0 GiB"
std::string gibibytes(std::uint64_t bytes);

}  // namespace zvkob
