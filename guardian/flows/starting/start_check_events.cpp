#include "guardian/flows/starting/start_check_events.hpp"

#include <cstdio>

#include "guardian/flows/starting/background_checks.hpp"

namespace zvkob {
namespace {

// On the worker: only the file system is asked.
DriveCheck drive_of(FileSystem& files, const std::string& data_folder) {
    if (!files.is_folder(data_folder)) {
        return {DriveCheck::folder_missing,
                0,
                "waiting for " + data_folder + " (is its drive connected?)",
                {}};
    }
    const FreeSpace free = files.free_space(data_folder);
    if (!free.failure.empty()) {
        return {DriveCheck::fine, 0, {}, free.failure};
    }
    if (free.bytes >= free_space_floor) {
        return {};
    }
    return {DriveCheck::short_of_space,
            free.bytes,
            "waiting for free space: " + space_text(free.bytes) + " free on the drive of " +
                data_folder + ", " + space_text(free_space_floor) + " needed",
            {}};
}

}  // namespace

std::string space_text(std::uint64_t bytes) {
    constexpr std::uint64_t mebibyte = 1ULL << 20U;
    constexpr std::uint64_t gibibyte = 1ULL << 30U;
    char text[32];
    if (bytes < 10 * gibibyte) {
        std::snprintf(text, sizeof text, "%llu MiB",
                      static_cast<unsigned long long>(bytes / mebibyte));
    } else {
        std::snprintf(text, sizeof text, "%.1f GiB", static_cast<double>(bytes) / gibibyte);
    }
    return text;
}

bool data_drive_checked(const GuardianEngine& g) {
    return g.ticked(GuardTick::check_data_drive) && !g.data_folder.empty();
}

void check_data_drive(GuardianEngine& g, std::function<void(const DriveCheck&)> then) {
    check_in_background<DriveCheck>(
        g, "the data folder's drive",
        [&files = g.services.files, folder = g.data_folder] { return drive_of(files, folder); },
        [&g, then = std::move(then)](DriveCheck drive) {
            if (!drive.free_space_unknown.empty()) {
                g.services.history.record("ZV-KOB cannot tell the free space on the drive of " +
                                          g.data_folder + ": " + drive.free_space_unknown +
                                          " The start goes on.");
            }
            then(drive);
        });
}

}  // namespace zvkob
