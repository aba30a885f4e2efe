#pragma once
#include "core/node_rpc/node_rpc_asker.hpp"
#include "platform/node_wallets.hpp"

namespace zvkob {

// The node's wallets as its RPC tells them: listwallets, and backupwallet
// through each wallet's own path.
class WalletsOverRpc : public NodeWallets {
public:
    WalletsOverRpc(LoopbackHttp& http, PortListeners& listeners, FileSystem& files)
        : asker_(http, listeners, files) {}

    WalletBackup back_up(const RpcTarget& node, const WalletBackup& asked) override;

private:
    NodeRpcAsker asker_;
};

}  // namespace zvkob
