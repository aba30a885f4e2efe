#include "core/care/masked_chain_items.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

namespace zvkob {
namespace {

using namespace std::string_view_literals;

constexpr std::array descriptor_functions = {
    "sh"sv,          "wsh"sv,     "pkh"sv,           "wpkh"sv, "combo"sv, "multi"sv,
    "sortedmulti"sv, "multi_a"sv, "sortedmulti_a"sv, "tr"sv,   "rawtr"sv, "addr"sv,
    "raw"sv,         "pk"sv,      "musig"sv};

constexpr std::array extended_key_prefixes = {
    "xpub"sv, "xprv"sv, "tpub"sv, "tprv"sv, "ypub"sv, "yprv"sv, "zpub"sv, "zprv"sv,
    "Ypub"sv, "Yprv"sv, "Zpub"sv, "Zprv"sv, "upub"sv, "uprv"sv, "vpub"sv, "vprv"sv,
    "Ltub"sv, "Ltpv"sv, "Mtub"sv, "Mtpv"sv, "dgub"sv, "dgpv"sv};

// What the node writes just before a block's hash.
constexpr std::array block_hash_keys = {
    "best="sv,        "hashBestChain="sv, "block="sv, "blockhash="sv,
    "header hash="sv, "block "sv,         "Block "sv, "tip="sv};

constexpr std::string_view base58_alphabet =
    "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz";
constexpr std::string_view bech32_alphabet = "qpzry9x8gf2tvdw0s3jn54khce6mua7l";

constexpr std::size_t shortest_hex = 10;
constexpr std::size_t hash_length = 64;
constexpr std::size_t shortest_opaque = 40;
constexpr std::size_t shortest_private_key = 36;  // longer than any base58 address
constexpr std::size_t shortest_descriptor_inside = 20;

bool alnum(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

bool all_of(std::string_view text, std::string_view alphabet) {
    return std::ranges::all_of(
        text, [alphabet](char c) { return alphabet.find(c) != std::string_view::npos; });
}

bool has_digit(std::string_view text) {
    return std::ranges::any_of(text, [](unsigned char c) { return std::isdigit(c); });
}

bool has_letter(std::string_view text) {
    return std::ranges::any_of(text, [](unsigned char c) { return std::isalpha(c); });
}

// A descriptor whose function begins at `at`: its length with its checksum, or 0.
std::size_t descriptor_at(std::string_view text, std::size_t at) {
    if (!std::islower(static_cast<unsigned char>(text[at])) ||
        (at > 0 && (alnum(text[at - 1]) || text[at - 1] == '_'))) {
        return 0;
    }
    for (const std::string_view function : descriptor_functions) {
        if (!text.substr(at).starts_with(function) || at + function.size() >= text.size() ||
            text[at + function.size()] != '(') {
            continue;
        }
        int depth = 0;
        for (std::size_t end = at + function.size(); end < text.size(); ++end) {
            depth += text[end] == '(' ? 1 : text[end] == ')' ? -1 : 0;
            if (text[end] == ' ') {
                break;  // words in brackets, not a descriptor
            }
            if (depth == 0) {
                if (end - at - function.size() - 1 < shortest_descriptor_inside) {
                    break;  // "pk(x)": too short to hold a key
                }
                std::size_t past = end + 1;
                if (past < text.size() && text[past] == '#') {  // its checksum
                    for (++past; past < text.size() && alnum(text[past]);) {
                        ++past;
                    }
                }
                return past - at;
            }
        }
    }
    return 0;
}

bool is_bech32(std::string_view token) {
    const bool lower = std::ranges::none_of(token, [](unsigned char c) { return std::isupper(c); });
    const bool upper = std::ranges::none_of(token, [](unsigned char c) { return std::islower(c); });
    if ((!lower && !upper) || token.size() < 14 || token.size() > 90) {
        return false;
    }
    const std::string folded = lower_ascii(token);
    const auto separator = folded.rfind('1');
    if (separator == std::string::npos || separator == 0 || separator > 10 ||
        folded.size() - separator - 1 < 8) {
        return false;
    }
    const std::string_view hrp = std::string_view(folded).substr(0, separator);
    return std::ranges::all_of(hrp, [](unsigned char c) { return std::isalpha(c); }) &&
           all_of(std::string_view(folded).substr(separator + 1), bech32_alphabet);
}

bool is_extended_key(std::string_view token) {
    return token.size() >= 100 && all_of(token, base58_alphabet) &&
           std::ranges::any_of(extended_key_prefixes, [token](std::string_view prefix) {
               return token.starts_with(prefix);
           });
}

bool names_a_block(std::string_view before) {
    return std::ranges::any_of(block_hash_keys,
                               [before](std::string_view key) { return before.ends_with(key); });
}

// The name a run of letters and digits is masked with, or none when it stays.
std::optional<std::string> masked_token(std::string_view token, std::string_view before,
                                        MaskNames& names) {
    const bool hex = std::ranges::all_of(token, [](unsigned char c) { return std::isxdigit(c); });
    if (hex) {
        if (token.size() < shortest_hex || !has_letter(token)) {
            return std::nullopt;
        }
        if (token.size() == hash_length) {
            return names_a_block(before) ? std::nullopt
                                         : std::optional(names.name(Masked::txid, token));
        }
        return names.name(Masked::hex, token);
    }
    if (token.size() > shortest_hex && token.starts_with('g') && before.ends_with('-') &&
        all_of(token.substr(1), "0123456789abcdef")) {
        return std::nullopt;  // the commit of a version: v0.21.2.1-gfce5d459f...
    }
    if (is_bech32(token)) {
        return names.name(Masked::address, token);
    }
    if (is_extended_key(token)) {
        return names.name(Masked::key, token);
    }
    const bool mixed = has_digit(token) && has_letter(token);
    if (mixed && token.size() >= 25 && token.size() <= 35 && all_of(token, base58_alphabet)) {
        return names.name(Masked::address, token);
    }
    if (token.size() == 56 && all_of(token, "abcdefghijklmnopqrstuvwxyz234567")) {
        return names.name(Masked::onion, token);  // a service's ID, without ".onion"
    }
    if (mixed && (token.size() >= shortest_opaque ||
                  (token.size() >= shortest_private_key && all_of(token, base58_alphabet)))) {
        return names.name(Masked::key, token);  // a private key, or anything as opaque
    }
    return std::nullopt;
}

std::string mask_descriptors(std::string_view text, MaskNames& names) {
    std::string masked;
    std::size_t copied = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (const std::size_t length = descriptor_at(text, at); length > 0) {
            masked.append(text.substr(copied, at - copied));
            masked += names.name(Masked::descriptor, text.substr(at, length));
            copied = at + length;
            at = copied - 1;
        }
    }
    masked.append(text.substr(copied));
    return masked;
}

}  // namespace

std::string mask_chain_items(std::string_view line, MaskNames& names) {
    const std::string text = mask_descriptors(line, names);
    std::string masked;
    std::size_t copied = 0;
    for (std::size_t at = 0; at < text.size();) {
        if (!alnum(text[at])) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < text.size() && alnum(text[end])) {
            ++end;
        }
        const std::string_view token = std::string_view(text).substr(at, end - at);
        const std::string_view before = std::string_view(text).substr(0, at);
        // "<IPv4 1>", "<wallet 2>": names given already.
        const bool given = before.ends_with('<');
        if (const auto name = given ? std::nullopt : masked_token(token, before, names)) {
            masked.append(text, copied, at - copied);
            masked += *name;
            copied = end;
        }
        at = end;
    }
    masked.append(text, copied);
    return masked;
}

}  // namespace zvkob
