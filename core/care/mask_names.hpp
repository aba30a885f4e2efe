#pragma once
#include <array>
#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace zvkob {

// The text in lower case, ASCII letters only: what the masking compares by.
std::string lower_ascii(std::string_view text);

// What a masked item was.
enum class Masked { ipv4, ipv6, onion, i2p, wallet, address, txid, hex, key, descriptor };

// The names that stand for masked items in one report: the same item is
// always the same name ("<IPv4 1>" each time the same peer shows), so that
// whoever reads the report can follow a peer or a wallet without knowing it.
class MaskNames {
public:
    // "<IPv4 1>", "<wallet 2>", ...; keys and descriptors are all "<key>" and
    // "<descriptor>": nobody needs to follow one.
    std::string name(Masked kind, std::string_view value);

    // Wallet names, as the node's RPC or its log told them.
    void add_wallet(std::string_view wallet);
    bool is_wallet(std::string_view text) const { return wallets_.contains(std::string(text)); }
    const std::set<std::string, std::less<>>& wallets() const { return wallets_; }

private:
    static constexpr std::size_t kinds = 10;
    std::map<std::pair<Masked, std::string>, std::string> given_;
    std::array<int, kinds> counts_{};
    std::set<std::string, std::less<>> wallets_;
};

}  // namespace zvkob
