#include "guardian/node/wallets_over_rpc.hpp"

namespace zvkob {

WalletBackup WalletsOverRpc::back_up(const RpcTarget& node, const WalletBackup& asked) {
    const RpcReply reply =
        asker_.backup_wallet(node.endpoint, node.process_id, asked.wallet, asked.destination);
    WalletBackup done = asked;
    done.error.clear();
    if (reply.ok()) {
        return done;
    }
    if (reply.failure() == RpcFailure::rpc_error) {
        done.error = reply.message();  // the node's own words
        done.why = WalletBackup::Why::node_refused;
        return done;
    }
    done.error = reply.describe();
    done.why = reply.may_have_been_acted_on() ? WalletBackup::Why::no_answer
                                              : WalletBackup::Why::not_asked;
    return done;
}

}  // namespace zvkob
