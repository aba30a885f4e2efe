#pragma once
#include <string>
#include <string_view>

#include "core/care/mask_names.hpp"

namespace zvkob {

// `text` with what ties a report to the user's coins masked: output
// descriptors ("wpkh([d34db33f/84h/0h/0h]xpub.../0/*)#checksum"), extended
// keys (xpub, tprv, Ltub, ...), addresses (base58 of the Bitcoin family:
// 1..., 3..., L..., M..., D..., m..., n..., 2...; bech32 of any network:
// bc1..., tb1..., ltc1..., rltc1...) and private keys, transaction ids and
// any other run of hex digits of ten or more (scripts, signatures, cut
// txids). Block hashes stay where the node names a block (best=,
// hashBestChain=, block=, blockhash=, header hash=, "block <hash>"): they
// are public and say where the node is. A version's commit ("-gfce5d459f")
// stays too.
std::string mask_chain_items(std::string_view text, MaskNames& names);

}  // namespace zvkob
