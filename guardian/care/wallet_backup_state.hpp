#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zvkob {

// What the window knows for "Back Up Wallets…": the wallets this copy's
// node has loaded (none while its RPC does not answer), whether a backup is
// under way, and when the last one the history records was written.
class WalletBackups {
public:
    // The node of this copy, by its process: another node's wallets are asked afresh.
    void follow(unsigned long node_id);

    // What the node's RPC said of its wallets: none while it does not answer.
    void heard(std::optional<std::vector<std::string>> wallets) { wallets_ = std::move(wallets); }
    const std::vector<std::string>& wallets() const;
    // The command is offered: the node answers with wallets loaded, and no
    // backup is under way.
    bool offered() const { return !wallets().empty() && !backing_up_; }

    void backup_started() { backing_up_ = true; }
    void backup_done(std::optional<std::int64_t> written_ms);

    // The history is read once for the last backup, once wallets are seen.
    bool history_to_read() const { return !wallets().empty() && !history_state_; }
    void history_reading() { history_state_ = HistoryState::reading; }
    void history_read(std::optional<std::int64_t> last_backup_ms);

    // The tooltip's reminder, only while the node has wallets: users
    // without any are not nagged.
    std::string reminder(std::int64_t now_ms) const;

private:
    enum class HistoryState { reading, read };

    unsigned long node_id_ = 0;
    std::optional<std::vector<std::string>> wallets_;
    bool backing_up_ = false;
    std::optional<HistoryState> history_state_;
    std::optional<std::int64_t> last_backup_ms_;
};

}  // namespace zvkob
