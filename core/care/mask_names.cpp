#include "core/care/mask_names.hpp"

#include <algorithm>
#include <cctype>

namespace zvkob {
namespace {

constexpr std::array<std::string_view, 10> kind_words = {
    "IPv4", "IPv6", "onion", "I2P", "wallet", "address", "txid", "hex", "key", "descriptor"};

}  // namespace

std::string lower_ascii(std::string_view text) {
    std::string folded(text);
    std::ranges::transform(folded, folded.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return folded;
}

std::string MaskNames::name(Masked kind, std::string_view value) {
    const auto index = static_cast<std::size_t>(kind);
    const std::string word(kind_words[index]);
    if (kind == Masked::key || kind == Masked::descriptor) {
        return "<" + word + ">";
    }
    auto [at, added] = given_.try_emplace({kind, std::string(value)});
    if (added) {
        at->second = "<" + word + " " + std::to_string(++counts_[index]) + ">";
    }
    return at->second;
}

void MaskNames::add_wallet(std::string_view wallet) {
    if (!wallet.empty()) {
        wallets_.emplace(wallet);
    }
}

}  // namespace zvkob
