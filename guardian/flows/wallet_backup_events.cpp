#include "guardian/flows/wallet_backup_events.hpp"

#include <algorithm>

#include "main_window/shown_state.hpp"
#include "guardian/flows/stop_node.hpp"

namespace zvkob {
namespace {

constexpr char folder_title[] = "Back Up Wallets";

void offer_backup(MainWindow& w) {
    w.back_up_wallets.set_enabled(w.guardian.wallet_backups.offered());
}

void read_last_backup(MainWindow& w) {
    w.guardian.wallet_backups.history_reading();
    run_in_background<std::optional<std::int64_t>>(
        w.services.background,
        [&files = w.services.files, path = w.services.history.path()] {
            return last_backup_recorded(files, path);
        },
        [&w](std::optional<std::int64_t> last) {
            w.guardian.wallet_backups.history_read(last);
            show_state(w);
        },
        w.lifetime);
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

void report(MainWindow& w, const std::string& folder, const BackupDone& done) {
    const bool any_written = std::ranges::any_of(
        done.backups, [](const WalletBackup& backup) { return backup.error.empty(); });
    w.guardian.wallet_backups.backup_done(any_written ? std::optional(w.services.clock.now_ms())
                                                      : std::nullopt);
    offer_backup(w);
    std::string message = backup_message(folder, done.backups);
    if (done.folder_missing) {
        message += "\n\nThe folder " + folder + " is not there (is its drive connected?).";
    }
    tell(w, message);
}

// The folder is remembered at once, so that a ZV-KOB killed later keeps it.
void remember_folder(MainWindow& w, const std::string& folder) {
    w.backup_folder = folder;
    if (const Outcome saved = w.services.store.save(stored::backup_folder.key, folder); !saved) {
        w.services.history.record("The wallet backup's folder could not be saved: " +
                                  saved.reason());
    }
}

// On a lane of its own: a backup of several large wallets may take minutes,
// and delays neither the log's reading nor a stop.
void back_up(MainWindow& w, const NodeProgram& program, const std::string& folder) {
    const std::int64_t now_ms = w.services.clock.now_ms();
    BackupAsked asked{RpcTarget{program.node.rpc().endpoint(), program.node.id()},
                      w.guardian.wallet_backups.wallets(), folder,
                      local_time_at(now_ms, w.services.clock.utc_offset_minutes_at(now_ms))};
    w.guardian.wallet_backups.backup_started();
    offer_backup(w);
    run_in_background<BackupDone>(
        w.services.background,
        [&files = w.services.files, &wallets = w.services.wallets, &history = w.services.history,
         asked] { return back_up_each(files, wallets, history, asked); },
        [&w, folder](BackupDone done) { report(w, folder, done); }, w.lifetime, Lane::wallet_backup,
        [&history = w.services.history, folder] {
            history.record("Wallet backup to " + folder +
                           " not asked of the node: ZV-KOB closed before it began.");
        });
}

}  // namespace

void wallets_tick(MainWindow& w, NodeProgram* program) {
    w.guardian.wallet_backups.follow(program == nullptr ? 0 : program->node.id());
    offer_backup(w);
}

void wallets_heard(MainWindow& w, std::optional<std::vector<std::string>> wallets) {
    w.guardian.wallet_backups.heard(std::move(wallets));
    if (w.guardian.wallet_backups.history_to_read()) {
        read_last_backup(w);
    }
    offer_backup(w);
    show_state(w);
}

void back_up_wallets_clicked(MainWindow& w) {
    if (!w.guardian.wallet_backups.offered()) {
        return;  // the node stopped answering since the menu was drawn
    }
    const FolderChoice choice = w.services.folder_picker.pick(folder_title, w.backup_folder);
    if (!choice.folder) {
        if (!choice.failure.empty()) {
            tell(w, "ZV-KOB could not ask for a folder to back the wallets up to.\n\n" +
                        choice.failure);
        }
        return;
    }
    remember_folder(w, *choice.folder);
    const NodeProgram* program = running_node_program(w);
    if (program == nullptr || !w.guardian.wallet_backups.offered()) {
        tell(w,
             "No wallet was backed up: the node stopped answering while the folder was "
             "chosen.");
        return;
    }
    back_up(w, *program, *choice.folder);
    show_state(w);
}

}  // namespace zvkob
