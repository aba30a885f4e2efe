#include "main_window/wallets_over_rpc.hpp"

namespace zvkob {
namespace {

// The node's own words where it refused, else what kept the call from it.
std::string why_not(const RpcReply& reply) {
    return reply.failure() == RpcFailure::rpc_error ? reply.message() : reply.describe();
}

}  // namespace

std::vector<WalletBackup> WalletsOverRpc::back_up(const RpcTarget& node,
                                                  std::span<const WalletBackup> asked) {
    std::vector<WalletBackup> done(asked.begin(), asked.end());
    for (WalletBackup& backup : done) {
        const RpcReply reply =
            asker_.backup_wallet(node.endpoint, node.process_id, backup.wallet, backup.destination);
        backup.error = reply.ok() ? std::string() : why_not(reply);
    }
    return done;
}

}  // namespace zvkob
