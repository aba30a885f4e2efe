#pragma once
#include <optional>
#include <string>

#include "main_window/main_window.hpp"

namespace zvkob {

// Before a node starts: its data folder must be there (a node started before
// its external drive is connected begins a fresh chain), and its drive must
// have a gibibyte free (a node on a full disk stops again at once). With no
// data folder set (the node's default), or with "Check the Data Drive Before a
// Start" not ticked, nothing is checked.

inline constexpr std::uint64_t free_space_floor = 1ULL << 30U;

// Why an automatic start must wait now, or nothing. A free-space query that
// fails is recorded and does not hold the start.
std::optional<std::string> reason_to_wait(MainWindow& window);

// LAUNCH: refuses when the data folder is missing, asks when space is short.
// Returns whether LAUNCH goes on.
bool launch_may_go_on(MainWindow& window);

}  // namespace zvkob
