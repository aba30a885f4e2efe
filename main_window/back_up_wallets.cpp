#include "main_window/back_up_wallets.hpp"

#include <algorithm>

#include "main_window/shown_state.hpp"
#include "main_window/stop_node.hpp"

namespace zvkob {
namespace {

constexpr char folder_title[] = "Back Up Wallets";

void offer_backup(MainWindow& w) {
    w.back_up_wallets.set_enabled(w.wallet_backups.offered());
}

void read_last_backup(MainWindow& w) {
    w.wallet_backups.history_reading();
    run_in_background<std::optional<std::int64_t>>(
        w.services.background,
        [&files = w.services.files, path = w.services.history.path()] {
            return last_backup_recorded(files, path);
        },
        [&w](std::optional<std::int64_t> last) {
            w.wallet_backups.history_read(last);
            show_state(w);
        },
        w.lifetime);
}

// The backup's answer, with whether the folder was there afterwards.
struct BackupDone {
    std::vector<WalletBackup> backups;
    bool folder_missing = false;
};

void report(MainWindow& w, const std::string& folder, const BackupDone& done) {
    const bool any_written = std::ranges::any_of(
        done.backups, [](const WalletBackup& backup) { return backup.error.empty(); });
    w.wallet_backups.backup_done(any_written ? std::optional(w.services.clock.now_ms())
                                             : std::nullopt);
    offer_backup(w);
    for (const std::string& event : backup_events(done.backups)) {
        w.services.history.record(event);
    }
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

void back_up(MainWindow& w, const NodeProgram& program, const std::string& folder) {
    const std::int64_t now_ms = w.services.clock.now_ms();
    const LocalTime at = local_time_at(now_ms, w.services.clock.utc_offset_minutes_at(now_ms));
    std::vector<WalletBackup> asked;
    for (const std::string& wallet : w.wallet_backups.wallets()) {
        asked.push_back({wallet, backup_destination(folder, backup_file_name(wallet, at)), {}});
    }
    w.wallet_backups.backup_started();
    offer_backup(w);
    run_in_background<BackupDone>(
        w.services.background,
        [&files = w.services.files, &wallets = w.services.wallets,
         node = RpcTarget{program.node.rpc().endpoint(), program.node.id()}, asked, folder] {
            BackupDone done{wallets.back_up(node, asked), false};
            done.folder_missing =
                std::ranges::any_of(done.backups, [](const auto& b) { return !b.error.empty(); }) &&
                !files.is_folder(folder);
            return done;
        },
        [&w, folder](BackupDone done) { report(w, folder, done); }, w.lifetime);
}

}  // namespace

void wallets_tick(MainWindow& w, NodeProgram* program) {
    w.wallet_backups.follow(program == nullptr ? 0 : program->node.id());
    offer_backup(w);
}

void wallets_heard(MainWindow& w, std::optional<std::vector<std::string>> wallets) {
    w.wallet_backups.heard(std::move(wallets));
    if (w.wallet_backups.history_to_read()) {
        read_last_backup(w);
    }
    offer_backup(w);
    show_state(w);
}

void back_up_wallets_clicked(MainWindow& w) {
    if (!w.wallet_backups.offered()) {
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
    if (program == nullptr || !w.wallet_backups.offered()) {
        tell(w,
             "No wallet was backed up: the node stopped answering while the folder was "
             "chosen.");
        return;
    }
    back_up(w, *program, *choice.folder);
    show_state(w);
}

}  // namespace zvkob
