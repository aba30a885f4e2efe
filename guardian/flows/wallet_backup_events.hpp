#pragma once
#include <optional>
#include <string>
#include <vector>

#include "guardian/engine/guardian_engine.hpp"

namespace zvkob {

// "Back Up Wallets…": offered while this copy's node answers its RPC with
// wallets loaded. It asks for a folder, then asks the node itself to write
// each loaded wallet there (never a wallet file copied from disk while the
// node runs), and tells every file written, or the node's error, in one
// message and in the history.

// Follows the node of `program` (none: no node of this copy runs): another
// node's wallets are not offered.
void wallets_tick(GuardianEngine& engine, GuardedProgram* program);

// What the node's RPC said of its wallets at its last poll: none while it
// does not answer. The history is read once for the last backup.
void wallets_heard(GuardianEngine& engine, std::optional<std::vector<std::string>> wallets);

void back_up_wallets_clicked(GuardianEngine& engine);

}  // namespace zvkob
