#pragma once
#include <string>

#include "core/node_rpc/rpc_endpoint.hpp"
#include "core/care/wallet_backup.hpp"

namespace zvkob {

// This copy's node as its RPC is asked: where it listens, and the process
// that must be the listener.
struct RpcTarget {
    RpcEndpoint endpoint;
    unsigned long process_id = 0;
};

// The node's wallets, through its own RPC: never a wallet file copied from
// disk while the node runs. Each call may wait seconds: the worker's, never
// the window's.
class NodeWallets {
public:
    virtual ~NodeWallets() = default;
    // Asks the node, once, to write the wallet to its destination: the
    // answer, with the node's error where it refused, why the call never
    // went, or what is known of one that had no answer in time.
    virtual WalletBackup back_up(const RpcTarget& node, const WalletBackup& asked) = 0;
};

}  // namespace zvkob
