#include "core/care/report_masking.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>
#include <vector>

#include "core/care/masked_chain_items.hpp"
#include "core/care/masked_network_names.hpp"
#include "core/care/masked_paths.hpp"
#include "core/node_log/node_log_line.hpp"

namespace zvkob {
namespace {

using namespace std::string_view_literals;

constexpr std::array secret_signs = {
    "command-line arg"sv, "config file arg"sv, "setting file arg"sv, "rpcpassword"sv,
    "rpcauth"sv,          "password"sv,        "passphrase"sv,       "__cookie__:"sv};

// The node dumps a transaction of its wallet over several lines.
constexpr std::array transaction_dump = {"CTransaction("sv,   "CMutableTransaction("sv,
                                         "CTxIn("sv,          "CTxOut("sv,
                                         "CScriptWitness("sv, "CTxInWitness("sv};

// What the node writes in brackets before a message that is not a wallet's
// name: its threads (-logthreadnames), categories and levels.
constexpr std::array node_tags = {"init"sv,
                                  "main"sv,
                                  "msghand"sv,
                                  "net"sv,
                                  "scheduler"sv,
                                  "loadblk"sv,
                                  "initload"sv,
                                  "dnsseed"sv,
                                  "addcon"sv,
                                  "opencon"sv,
                                  "mapport"sv,
                                  "torcontrol"sv,
                                  "http"sv,
                                  "httpworker"sv,
                                  "scriptch"sv,
                                  "i2paccept"sv,
                                  "shutoff"sv,
                                  "txindex"sv,
                                  "basic block filter index"sv,
                                  "coinstatsindex"sv,
                                  "background validation"sv,
                                  "tor"sv,
                                  "mempool"sv,
                                  "bench"sv,
                                  "zmq"sv,
                                  "walletdb"sv,
                                  "rpc"sv,
                                  "estimatefee"sv,
                                  "addrman"sv,
                                  "selectcoins"sv,
                                  "reindex"sv,
                                  "cmpctblock"sv,
                                  "rand"sv,
                                  "prune"sv,
                                  "proxy"sv,
                                  "mempoolrej"sv,
                                  "libevent"sv,
                                  "coindb"sv,
                                  "qt"sv,
                                  "leveldb"sv,
                                  "validation"sv,
                                  "i2p"sv,
                                  "ipc"sv,
                                  "lock"sv,
                                  "util"sv,
                                  "blockstorage"sv,
                                  "txreconciliation"sv,
                                  "scan"sv,
                                  "txpackages"sv,
                                  "kernel"sv,
                                  "wallet"sv,
                                  "warning"sv,
                                  "error"sv,
                                  "info"sv,
                                  "debug"sv,
                                  "trace"sv,
                                  "default wallet"sv};

bool source_location(std::string_view tag) {
    return tag.find(".cpp:") != std::string_view::npos || tag.find(".h:") != std::string_view::npos;
}

// "net:debug" is the category net; "httpworker.3" the thread httpworker.
bool node_tag(std::string_view tag) {
    if (const auto colon = tag.find(':'); colon != std::string_view::npos) {
        tag = tag.substr(0, colon);
    }
    if (const auto dot = tag.rfind('.');
        dot != std::string_view::npos &&
        std::all_of(tag.begin() + static_cast<long>(dot) + 1, tag.end(),
                    [](unsigned char c) { return std::isdigit(c); })) {
        tag = tag.substr(0, dot);
    }
    return tag.starts_with("qt-") || std::ranges::find(node_tags, tag) != node_tags.end();
}

// Where the wallets' names stand among the bracketed words before a line's
// message ("[init] [savings] Wallet File Version = 169900"), and where its message begins.
struct LinePrefix {
    std::vector<std::string_view> wallets;
    std::size_t message_at = 0;
};

LinePrefix read_prefix(std::string_view line) {
    LinePrefix prefix;
    std::size_t at = line.starts_with("[*] ") ? 4 : 0;
    if (const auto time = leading_log_time(line.substr(at))) {
        at += time->length;
        at += at < line.size() && line[at] == ' ' ? 1 : 0;
    }
    bool function_next = false;  // after a source location comes its function
    while (at < line.size() && line[at] == '[') {
        const auto close = line.find(']', at);
        if (close == std::string_view::npos || close + 1 >= line.size() || line[close + 1] != ' ') {
            break;
        }
        const std::string_view tag = line.substr(at + 1, close - at - 1);
        if (source_location(tag)) {
            function_next = true;
        } else if (!std::exchange(function_next, false) && !node_tag(tag) && !tag.empty()) {
            prefix.wallets.push_back(tag);
        }
        at = close + 2;
    }
    prefix.message_at = at;
    return prefix;
}

std::string url_decoded(std::string_view text) {
    std::string decoded;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '%' && at + 2 < text.size() &&
            std::isxdigit(static_cast<unsigned char>(text[at + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[at + 2]))) {
            decoded +=
                static_cast<char>(std::stoi(std::string(text.substr(at + 1, 2)), nullptr, 16));
            at += 2;
        } else {
            decoded += text[at];
        }
    }
    return decoded;
}

constexpr std::string_view wallet_uri = "/wallet/";

// The wallet's name in a request for "/wallet/<name>" at `at`, as it stands.
std::string_view uri_wallet_at(std::string_view text, std::size_t at) {
    const std::size_t start = at + wallet_uri.size();
    std::size_t end = start;
    while (end < text.size() &&
           std::string_view(" \t\"'?").find(text[end]) == std::string_view::npos) {
        ++end;
    }
    return text.substr(start, end - start);
}

}  // namespace

bool may_hold_secret(std::string_view line) {
    const std::string folded = lower_ascii(line);
    return std::ranges::any_of(secret_signs, [&folded](std::string_view sign) {
        return folded.find(sign) != std::string::npos;
    });
}

ReportMasking::ReportMasking(std::span<const std::string> wallets) {
    for (const std::string& wallet : wallets) {
        names_.add_wallet(wallet);
    }
}

void ReportMasking::learn(std::string_view line) {
    for (const std::string_view wallet : read_prefix(line).wallets) {
        names_.add_wallet(wallet);
    }
    for (auto at = line.find(wallet_uri); at != std::string_view::npos;
         at = line.find(wallet_uri, at + 1)) {
        names_.add_wallet(url_decoded(uri_wallet_at(line, at)));
    }
}

namespace {

// Requests for "/wallet/<name>" with the name masked.
std::string mask_wallet_uris(std::string_view text, MaskNames& names) {
    std::string masked;
    std::size_t copied = 0;
    for (auto at = text.find(wallet_uri); at != std::string_view::npos;
         at = text.find(wallet_uri, at + 1)) {
        const std::string_view wallet = uri_wallet_at(text, at);
        if (wallet.empty()) {
            continue;
        }
        const std::size_t start = at + wallet_uri.size();
        masked.append(text.substr(copied, start - copied));
        masked += names.name(Masked::wallet, url_decoded(wallet));
        copied = start + wallet.size();
    }
    masked.append(text.substr(copied));
    return masked;
}

// A known wallet's name in brackets or quotes, wherever it stands.
std::string mask_known_wallets(std::string text, MaskNames& names) {
    for (const std::string& wallet : names.wallets()) {
        for (const auto& [open, close] : {std::pair{'[', ']'}, {'\'', '\''}, {'"', '"'}}) {
            const std::string quoted = open + wallet + close;
            const std::string masked = open + names.name(Masked::wallet, wallet) + close;
            for (auto at = text.find(quoted); at != std::string::npos;
                 at = text.find(quoted, at + masked.size())) {
                text.replace(at, quoted.size(), masked);
            }
        }
    }
    return text;
}

bool dumped_transaction(std::string_view line) {
    const auto first = line.find_first_not_of(" \t");
    const std::string_view text = first == std::string_view::npos ? "" : line.substr(first);
    return std::ranges::any_of(transaction_dump,
                               [text](std::string_view start) { return text.starts_with(start); });
}

}  // namespace

std::optional<std::string> ReportMasking::masked(std::string_view line) {
    if (may_hold_secret(line) || dumped_transaction(line)) {
        return std::nullopt;
    }
    const LinePrefix prefix = read_prefix(line);
    for (const std::string_view wallet : prefix.wallets) {
        names_.add_wallet(wallet);
    }
    const std::string head =
        mask_known_wallets(std::string(line.substr(0, prefix.message_at)), names_);
    std::string text = mask_known_wallets(std::string(line.substr(prefix.message_at)), names_);
    text = mask_wallet_uris(text, names_);
    text = mask_paths(text, names_);
    text = mask_network_names(text, names_);
    text = mask_chain_items(text, names_);
    return head + text;
}

}  // namespace zvkob
