#include "guardian/care/wallet_backup_state.hpp"

#include "core/care/wallet_backup.hpp"

namespace zvkob {

void WalletBackups::follow(unsigned long node_id) {
    if (node_id != node_id_) {
        node_id_ = node_id;
        wallets_.reset();
    }
}

const std::vector<std::string>& WalletBackups::wallets() const {
    static const std::vector<std::string> none;
    return wallets_ ? *wallets_ : none;
}

void WalletBackups::backup_done(std::optional<std::int64_t> written_ms) {
    backing_up_ = false;
    if (written_ms) {
        last_backup_ms_ = written_ms;
        history_state_ = HistoryState::read;
    }
}

void WalletBackups::history_read(std::optional<std::int64_t> last_backup_ms) {
    history_state_ = HistoryState::read;
    if (!last_backup_ms_ || (last_backup_ms && *last_backup_ms > *last_backup_ms_)) {
        last_backup_ms_ = last_backup_ms;
    }
}

std::string WalletBackups::reminder(std::int64_t now_ms) const {
    if (wallets().empty() || history_state_ != HistoryState::read) {
        return {};
    }
    return backup_reminder(last_backup_ms_, now_ms);
}

}  // namespace zvkob
