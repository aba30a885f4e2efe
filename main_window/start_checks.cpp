#include "main_window/start_checks.hpp"

#include <cstdio>

namespace zvkob {

std::string gibibytes(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f GiB", static_cast<double>(bytes) / (1ULL << 30U));
    return text;
}

DriveCheck check_data_drive_now(MainWindow& w) {
    if (!w.check_data_drive.ticked() || w.data_folder.empty()) {
        return {};
    }
    if (!w.services.files.is_folder(w.data_folder)) {
        return {DriveCheck::folder_missing, 0,
                "waiting for " + w.data_folder + " (is its drive connected?)"};
    }
    const FreeSpace free = w.services.files.free_space(w.data_folder);
    if (!free.failure.empty()) {
        w.services.history.record("ZV-KOB cannot tell the free space on the drive of " +
                                  w.data_folder + ": " + free.failure + " The start goes on.");
        return {};
    }
    if (free.bytes >= free_space_floor) {
        return {};
    }
    return {DriveCheck::short_of_space, free.bytes,
            "waiting for free space: " + gibibytes(free.bytes) + " free on the drive of " +
                w.data_folder + ", " + gibibytes(free_space_floor) + " needed"};
}

}  // namespace zvkob
