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

// Whether Windows may take the two names for one file. Windows compares
// names without regard to case, by a table of its own beyond ASCII: any two
// characters of which one is not ASCII may be one, so that two names that
// may be one file are always told (at worst a name gets a number it did not
// need).
bool may_name_one_file(std::string_view a, std::string_view b);

// What became of one wallet's backup.
struct WalletBackup {
    std::string wallet;       // its name as the node knows it; empty for the default wallet
    std::string destination;  // the file asked for
    std::string error;        // why it is not known to be written; empty when it was
    // Whose words `error` holds: the node's own refusal; ZV-KOB's, when the
    // call never reached the node or the node turned it away unread; or what
    // is known of a call that went and had no answer in time, so that the
    // file may be written all the same.
    enum class Why { node_refused, not_asked, no_answer } why = Why::node_refused;
};

// The files for one backup of `wallets` into `folder`, one each, decided
// before anything is asked of the node: never one of `names_in_folder` nor
// another wallet's of the same backup, as Windows compares names. A name
// taken gets "-2", "-3", ... before ".dat": the default wallet and one named
// "default", names whose forbidden characters become the same "_", names
// that differ only after the cut or by trailing dots or spaces.
std::vector<WalletBackup> planned_backups(std::string_view folder,
                                          std::span<const std::string> wallets, const LocalTime& at,
                                          std::span<const std::string> names_in_folder);

// The one message that reports every wallet's backup, each with its file.
std::string backup_message(std::string_view folder, std::span<const WalletBackup> backups);

// The history's line for one wallet. A written one is found again by last_backup_in().
std::string backup_event(const WalletBackup& backup);

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
