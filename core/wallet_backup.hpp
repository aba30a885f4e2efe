#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/time_text.hpp"
#include "platform/file_system.hpp"

namespace zvkob {

// A backup older than this is worth a reminder in the tooltip.
inline constexpr std::int64_t backup_overdue_ms = 90LL * 86'400'000;

// "savings-2026-12-08-094512.dat", "default-2026-12-08-094512.dat" for the
// default wallet (its name is empty).
std::string backup_file_name(std::string_view wallet, const LocalTime& at);

// The backup's full path in the chosen folder.
std::string backup_destination(std::string_view folder, std::string_view file_name);

// What became of one wallet's backup.
struct WalletBackup {
    std::string wallet;       // its name as the node knows it; empty for the default wallet
    std::string destination;  // the file asked for
    std::string error;        // the node's error, or empty when it was written
};

// The one message that reports every wallet's backup.
std::string backup_message(std::string_view folder, std::span<const WalletBackup> backups);

// A history line per wallet. A written one is found again by last_backup_in().
std::vector<std::string> backup_events(std::span<const WalletBackup> backups);

// The time (ms since 1970, UTC) of the last backup written that the history's
// text records, or none.
std::optional<std::int64_t> last_backup_in(std::string_view history_text);

// The last backup in the history file or, when it has none, in the older
// file the history was moved to at its size limit.
std::optional<std::int64_t> last_backup_recorded(FileSystem& files, std::string_view history_path);

// The tooltip's reminder when no backup is recorded or the last is older
// than backup_overdue_ms, else "".
std::string backup_reminder(std::optional<std::int64_t> last_backup_ms, std::int64_t now_ms);

}  // namespace zvkob
