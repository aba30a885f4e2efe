#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/care/mask_names.hpp"

namespace zvkob {

// Whether a line may hold a secret, and is left out of a report whole: the
// node's "Command-line arg", "Config file arg" and "Setting file arg" lines
// (they may hold an rpcpassword or wallet names), anything that names
// rpcpassword, rpcauth, a password or passphrase, and a cookie's content.
bool may_hold_secret(std::string_view line);

// What identifies the user masked in the lines of one report: the node's
// log, ZV-KOB's history and its tooltip. The same item keeps its name
// throughout ("<IPv4 1>"), so that a helper can still follow a peer.
class ReportMasking {
public:
    // `wallets`: the names of the wallets the node's RPC told.
    explicit ReportMasking(std::span<const std::string> wallets = {});

    // Learns the wallet names that a line of the node's log tells: its
    // "[savings] " before the message, a request for "/wallet/savings".
    // Learnt from every line first, they are masked wherever they stand in brackets or quotes.
    void learn(std::string_view line);

    // The line masked, or none when it is left out whole: a line that may
    // hold a secret, and the lines of a wallet's transaction the node dumps
    // (CTransaction(...), CTxIn(...), CTxOut(...), CScriptWitness(...)).
    std::optional<std::string> masked(std::string_view line);

private:
    MaskNames names_;
};

}  // namespace zvkob
