#include "main_window/start_checks.hpp"

#include <cstdio>

namespace zvkob {
namespace {

std::string gibibytes(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f GiB", static_cast<double>(bytes) / (1ULL << 30U));
    return text;
}

// How much is free, when that is less than the floor.
std::optional<std::uint64_t> short_of_space(MainWindow& w) {
    const FreeSpace free = w.services.files.free_space(w.data_folder);
    if (!free.failure.empty()) {
        w.services.history.record("ZV-KOB cannot tell the free space on the drive of " +
                                  w.data_folder + ": " + free.failure + " The start goes on.");
        return std::nullopt;
    }
    return free.bytes < free_space_floor ? std::optional(free.bytes) : std::nullopt;
}

}  // namespace

std::optional<std::string> reason_to_wait(MainWindow& w) {
    if (!w.check_data_drive.ticked() || w.data_folder.empty()) {
        return std::nullopt;
    }
    if (!w.services.files.is_folder(w.data_folder)) {
        return "waiting for " + w.data_folder + " (is its drive connected?)";
    }
    if (const auto free = short_of_space(w)) {
        return "waiting for free space: " + gibibytes(*free) + " free on the drive of " +
               w.data_folder + ", " + gibibytes(free_space_floor) + " needed";
    }
    return std::nullopt;
}

bool launch_may_go_on(MainWindow& w) {
    if (!w.check_data_drive.ticked() || w.data_folder.empty()) {
        return true;
    }
    if (!w.services.files.is_folder(w.data_folder)) {
        w.services.history.record("LAUNCH started nothing: the data folder " + w.data_folder +
                                  " is not there.");
        w.services.notifier.show_error("The node's data folder " + w.data_folder +
                                       " is not there. Is its drive connected?\n\nLAUNCH starts "
                                       "nothing: a node started without it would begin a fresh "
                                       "copy of the chain elsewhere.");
        return false;
    }
    const auto free = short_of_space(w);
    if (!free) {
        return true;
    }
    const bool anyway = w.services.notifier.ask(
        "Only " + gibibytes(*free) + " is free on the drive of " + w.data_folder +
        ". A node needs room to write its data; on a full disk it stops again or damages its "
        "data.\n\nStart it anyway?");
    w.services.history.record(
        "LAUNCH: " + gibibytes(*free) + " free on the drive of " + w.data_folder +
        (anyway ? "; the user starts the node anyway." : "; the user does not start the node."));
    return anyway;
}

}  // namespace zvkob
