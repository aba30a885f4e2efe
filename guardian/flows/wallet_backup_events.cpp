#include "guardian/flows/wallet_backup_events.hpp"

#include <algorithm>

#include "core/settings/settings_catalogue.hpp"
#include "guardian/flows/node_state_now.hpp"
#include "guardian/flows/stop_node.hpp"

namespace zvkob {
namespace {

constexpr char folder_title[] = "Back Up Wallets";

void offer_backup(GuardianEngine& g) {
    g.host.offer_wallet_backup(g.guardian.wallet_backups.offered());
}

void read_last_backup(GuardianEngine& g) {
    g.guardian.wallet_backups.history_reading();
    run_in_background<std::optional<std::int64_t>>(
        g.services.background,
        [&files = g.services.files, path = g.services.history.path()] {
            return last_backup_recorded(files, path);
        },
        [&g](std::optional<std::int64_t> last) {
            g.guardian.wallet_backups.history_read(last);
            g.host.show_guardian_state();
        },
        g.lifetime);
}

// The backup's answer, with whether the folder was there afterwards.
struct BackupDone {
    std::vector<WalletBackup> backups;
    bool folder_missing = false;
};

// What one backup needs on the worker.
struct BackupAsked {
    RpcTarget node;
    std::vector<std::string> wallets;
    std::string folder;
    LocalTime at;
};

// On the worker: each wallet's file is decided first, against the folder's
// names and each other, then the node is asked for each wallet once. Each
// answer is recorded in the history as it comes, whether or not the window
// is still there to show it. A folder whose names cannot be listed may hold
// a file a backup would overwrite: nothing is asked then (one that is not
// there holds none, and the node says why it cannot write there).
BackupDone back_up_each(FileSystem& files, NodeWallets& wallets, History& history,
                        const BackupAsked& asked) {
    const FolderNames present = files.names_in(asked.folder);
    const bool unlisted = !present.failure.empty() && files.is_folder(asked.folder);
    BackupDone done;
    for (WalletBackup backup :
         planned_backups(asked.folder, asked.wallets, asked.at, present.names)) {
        if (unlisted) {
            backup.error =
                "ZV-KOB cannot list the files in the folder, so it cannot make sure "
                "the backup overwrites none (" +
                present.failure + ")";
            backup.why = WalletBackup::Why::not_asked;
        } else {
            backup = wallets.back_up(asked.node, backup);
        }
        history.record(backup_event(backup));
        done.backups.push_back(std::move(backup));
    }
    done.folder_missing =
        std::ranges::any_of(done.backups, [](const auto& b) { return !b.error.empty(); }) &&
        !files.is_folder(asked.folder);
    return done;
}

void report(GuardianEngine& g, const std::string& folder, const BackupDone& done) {
    const bool any_written = std::ranges::any_of(
        done.backups, [](const WalletBackup& backup) { return backup.error.empty(); });
    g.guardian.wallet_backups.backup_done(any_written ? std::optional(g.services.clock.now_ms())
                                                      : std::nullopt);
    offer_backup(g);
    std::string message = backup_message(folder, done.backups);
    if (done.folder_missing) {
        message += "\n\nThe folder " + folder + " is not there (is its drive connected?).";
    }
    g.host.tell_user(message);
}

// The folder is remembered at once, so that a ZV-KOB killed later keeps it.
void remember_folder(GuardianEngine& g, const std::string& folder) {
    g.backup_folder = folder;
    if (const Outcome saved = g.services.store.save(stored::backup_folder.key, folder); !saved) {
        g.services.history.record("The wallet backup's folder could not be saved: " +
                                  saved.reason());
    }
}

// On a lane of its own: a backup of several large wallets may take minutes,
// and delays neither the log's reading nor a stop.
void back_up(GuardianEngine& g, const GuardedProgram& program, const std::string& folder) {
    const std::int64_t now_ms = g.services.clock.now_ms();
    BackupAsked asked{RpcTarget{program.node.rpc().endpoint(), program.node.id()},
                      g.guardian.wallet_backups.wallets(), folder,
                      local_time_at(now_ms, g.services.clock.utc_offset_minutes_at(now_ms))};
    g.guardian.wallet_backups.backup_started();
    offer_backup(g);
    run_in_background<BackupDone>(
        g.services.background,
        [&files = g.services.files, &wallets = g.services.wallets, &history = g.services.history,
         asked] { return back_up_each(files, wallets, history, asked); },
        [&g, folder](BackupDone done) { report(g, folder, done); }, g.lifetime, Lane::wallet_backup,
        [&history = g.services.history, folder] {
            history.record("Wallet backup to " + folder +
                           " not asked of the node: ZV-KOB closed before it began.");
        });
}

}  // namespace

void wallets_tick(GuardianEngine& g, GuardedProgram* program) {
    g.guardian.wallet_backups.follow(program == nullptr ? 0 : program->node.id());
    offer_backup(g);
}

void wallets_heard(GuardianEngine& g, std::optional<std::vector<std::string>> wallets) {
    g.guardian.wallet_backups.heard(std::move(wallets));
    if (g.guardian.wallet_backups.history_to_read()) {
        read_last_backup(g);
    }
    offer_backup(g);
    g.host.show_guardian_state();
}

void back_up_wallets_clicked(GuardianEngine& g) {
    if (!g.guardian.wallet_backups.offered()) {
        return;  // the node stopped answering since the menu was drawn
    }
    const FolderChoice choice = g.services.folder_picker.pick(folder_title, g.backup_folder);
    if (!choice.folder) {
        if (!choice.failure.empty()) {
            g.host.tell_user("ZV-KOB could not ask for a folder to back the wallets up to.\n\n" +
                             choice.failure);
        }
        return;
    }
    remember_folder(g, *choice.folder);
    const GuardedProgram* program = running_node_program(g);
    if (program == nullptr || !g.guardian.wallet_backups.offered()) {
        g.host.tell_user(
            "No wallet was backed up: the node stopped answering while the folder was "
            "chosen.");
        return;
    }
    back_up(g, *program, *choice.folder);
    g.host.show_guardian_state();
}

}  // namespace zvkob
