#include "core/care/masked_paths.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <vector>

namespace zvkob {
namespace {

using namespace std::string_view_literals;

// Names that tell nothing of the user: the node's files and folders, the
// networks' folders, Windows' and Linux's standard folders, ZV-KOB's own.
constexpr std::array kept_names = {"users"sv,
                                   "home"sv,
                                   "appdata"sv,
                                   "roaming"sv,
                                   "local"sv,
                                   "locallow"sv,
                                   "program files"sv,
                                   "program files (x86)"sv,
                                   "programdata"sv,
                                   "windows"sv,
                                   "system32"sv,
                                   "temp"sv,
                                   "tmp"sv,
                                   "root"sv,
                                   "var"sv,
                                   "lib"sv,
                                   "opt"sv,
                                   "usr"sv,
                                   "bin"sv,
                                   "etc"sv,
                                   "mnt"sv,
                                   "media"sv,
                                   "bitcoin"sv,
                                   "litecoin"sv,
                                   "dogecoin"sv,
                                   ".bitcoin"sv,
                                   ".litecoin"sv,
                                   ".dogecoin"sv,
                                   "daemon"sv,
                                   "regtest"sv,
                                   "testnet3"sv,
                                   "testnet4"sv,
                                   "signet"sv,
                                   "blocks"sv,
                                   "chainstate"sv,
                                   "index"sv,
                                   "indexes"sv,
                                   "txindex"sv,
                                   "blockfilter"sv,
                                   "basic"sv,
                                   "coinstats"sv,
                                   "coinstatsindex"sv,
                                   "wallets"sv,
                                   "database"sv,
                                   "zv-kob"sv,
                                   "debug.log"sv,
                                   "db.log"sv,
                                   "wallet.dat"sv,
                                   "peers.dat"sv,
                                   "banlist.dat"sv,
                                   "banlist.json"sv,
                                   "anchors.dat"sv,
                                   "mempool.dat"sv,
                                   "fee_estimates.dat"sv,
                                   "settings.json"sv,
                                   ".cookie"sv,
                                   ".lock"sv,
                                   "xor.dat"sv,
                                   "bitcoin.conf"sv,
                                   "litecoin.conf"sv,
                                   "dogecoin.conf"sv,
                                   "guisettings.ini.bak"sv,
                                   "onion_private_key"sv,
                                   "onion_v3_private_key"sv,
                                   "i2p_private_key"sv,
                                   "current"sv,
                                   "lock"sv,
                                   "log"sv,
                                   "log.old"sv,
                                   "wallet"sv,
                                   "."sv,
                                   ".."sv,
                                   "?"sv,
                                   "~"sv};

// Words that go on a sentence after a path more often than they stand in a folder's name.
constexpr std::array sentence_words = {"from"sv,   "to"sv,     "in"sv,      "is"sv,      "was"sv,
                                       "are"sv,    "and"sv,    "or"sv,      "on"sv,      "at"sv,
                                       "for"sv,    "with"sv,   "cannot"sv,  "could"sv,   "does"sv,
                                       "failed"sv, "exists"sv, "because"sv, "already"sv, "not"sv};

bool all_digits(std::string_view text) {
    return !text.empty() &&
           std::ranges::all_of(text, [](unsigned char c) { return std::isdigit(c); });
}

// "blk00012.dat", "000123.ldb", "MANIFEST-000004": the node's numbered files.
bool numbered_file(std::string_view name) {
    for (const std::string_view stem : {"blk"sv, "rev"sv, "leaf"sv, "o"sv, ""sv}) {
        for (const std::string_view extension : {".dat"sv, ".ldb"sv, ".log"sv}) {
            if (name.starts_with(stem) && name.ends_with(extension) &&
                all_digits(
                    name.substr(stem.size(), name.size() - stem.size() - extension.size()))) {
                return true;
            }
        }
    }
    return name.starts_with("manifest-") && all_digits(name.substr(9));
}

bool kept_name(std::string_view name) {
    const std::string folded = lower_ascii(name);
    return std::ranges::find(kept_names, folded) != kept_names.end() || numbered_file(folded) ||
           folded.ends_with(".exe") || folded.ends_with(".bat");
}

// ".conf" of "bitcoin.conf": a dot after a name, then one to five letters or digits.
std::optional<std::string_view> extension_of(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || name.size() - dot < 2 ||
        name.size() - dot > 6) {
        return std::nullopt;
    }
    const std::string_view extension = name.substr(dot);
    if (!std::all_of(extension.begin() + 1, extension.end(),
                     [](unsigned char c) { return std::isalnum(c); })) {
        return std::nullopt;
    }
    return extension;
}

bool is_separator(char c) {
    return c == '\\' || c == '/';
}

bool alnum(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

// Where a path may begin: the start of the text, or after one of these.
bool opens_path(std::string_view text, std::size_t at) {
    return at == 0 || std::string_view(" \t=\"'([").find(text[at - 1]) != std::string_view::npos;
}

bool drive_at(std::string_view text, std::size_t at) {
    return at + 2 < text.size() && std::isalpha(static_cast<unsigned char>(text[at])) &&
           text[at + 1] == ':' && is_separator(text[at + 2]) && (at == 0 || !alnum(text[at - 1]));
}

bool unc_at(std::string_view text, std::size_t at) {
    return at + 2 < text.size() && text[at] == '\\' && text[at + 1] == '\\' &&
           text[at + 2] != '\\' && text[at + 2] != ' ' &&
           (at == 0 || (!alnum(text[at - 1]) && text[at - 1] != '\\'));
}

bool linux_at(std::string_view text, std::size_t at) {
    const bool tilde = text[at] == '~' && at + 1 < text.size() && text[at + 1] == '/';
    const bool root =
        text[at] == '/' && at + 1 < text.size() && text[at + 1] != '/' && text[at + 1] != ' ';
    return (tilde || root) && opens_path(text, at);
}

// The word after a space at `at`: up to the next space.
std::string_view word_at(std::string_view text, std::size_t at) {
    const auto end = text.find(' ', at);
    return text.substr(at, end == std::string_view::npos ? text.size() - at : end - at);
}

bool starts_path(std::string_view text, std::size_t at) {
    return drive_at(text, at) || unc_at(text, at) || linux_at(text, at);
}

// Whether the words at `at` go on the sentence after a path ("D:\Chain from
// antivirus scanning") rather than a folder's name with spaces: a word such
// as "from" or "is", and no separator after it before another path begins.
bool sentence_goes_on(std::string_view text, std::size_t at) {
    const std::string_view word = word_at(text, at);
    if (std::ranges::find(sentence_words, lower_ascii(word)) == sentence_words.end()) {
        return false;
    }
    for (std::size_t next = at + word.size(); next < text.size(); ++next) {
        if (starts_path(text, next)) {
            return true;
        }
        if (is_separator(text[next])) {
            return false;  // "C:\Users\Jo\Letters to Jo Doe\x.txt": still a name
        }
    }
    return true;
}

// Whether the path that began at `start` ends at the space at `at`.
bool ends_at_space(std::string_view text, std::size_t start, std::size_t at) {
    if (at + 1 >= text.size() || text[at + 1] == '(' || text[at + 1] == ' ') {
        return true;
    }
    if (word_at(text, at + 1).find('=') != std::string_view::npos || starts_path(text, at + 1)) {
        return true;
    }
    std::size_t name_start = at;
    while (name_start > start && !is_separator(text[name_start - 1])) {
        --name_start;
    }
    return extension_of(text.substr(name_start, at - name_start)).has_value() ||
           sentence_goes_on(text, at + 1);
}

// Where the path that begins at `start` ends.
std::size_t path_end(std::string_view text, std::size_t start) {
    const char opener = start > 0 ? text[start - 1] : '\0';
    const char closer = opener == '(' ? ')' : opener == '[' ? ']' : '\0';
    std::size_t at = start;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        const bool pair_end = at + 1 >= text.size() || text[at + 1] == ' ';
        if (std::string_view("\"'<>|*\t\r\n").find(c) != std::string_view::npos ||
            (c == '?' && at != start + 2) || (closer != '\0' && c == closer) ||
            ((c == ':' || c == ',' || c == ';') && pair_end && at != start + 1) ||
            (c == ' ' && ends_at_space(text, start, at))) {
            break;
        }
    }
    // A sentence's full stop is not a name's: Windows drops a name's trailing dots anyway.
    while (at > start + 1 && (text[at - 1] == '.' || text[at - 1] == ' ') &&
           !is_separator(text[at - 2])) {
        --at;
    }
    return at;
}

std::string masked_name(std::string_view name, std::string_view before, bool last, bool unc_host,
                        MaskNames& names) {
    if (name.empty() || (!unc_host && before.empty() && name.size() == 2 && name[1] == ':')) {
        return std::string(name);
    }
    const std::string parent = lower_ascii(before);
    if (!unc_host && (parent == "users" || parent == "home")) {
        return "<user>";
    }
    if (names.is_wallet(name) || (parent == "wallets" && !kept_name(name))) {
        names.add_wallet(name);
        return names.name(Masked::wallet, name);
    }
    if (!unc_host && kept_name(name)) {
        return std::string(name);
    }
    const auto extension = last ? extension_of(name) : std::nullopt;
    return extension ? "<file>" + std::string(*extension) : std::string("<folder>");
}

std::string masked_path(std::string_view path, MaskNames& names) {
    const bool unc = path.starts_with("\\\\");
    std::string masked;
    std::size_t at = 0;
    while (at < path.size() && is_separator(path[at])) {
        masked += path[at++];
    }
    std::string_view before;
    for (int index = 0; at <= path.size(); ++index) {
        std::size_t end = at;
        while (end < path.size() && !is_separator(path[end])) {
            ++end;
        }
        const std::string_view name = path.substr(at, end - at);
        const bool unc_host = unc && index < 2 && name != "?" && name != ".";
        masked += masked_name(name, before, end == path.size(), unc_host, names);
        if (end < path.size()) {
            masked += path[end];
        }
        before = name;
        at = end + 1;
    }
    return masked;
}

bool deep_enough(std::string_view path) {
    return path.starts_with("\\\\") || (path.size() > 1 && path[1] == ':') ||
           std::ranges::count_if(path, is_separator) >= 2;
}

}  // namespace

std::string mask_paths(std::string_view text, MaskNames& names) {
    std::string masked;
    std::size_t copied = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (!starts_path(text, at)) {
            continue;
        }
        const std::size_t end = path_end(text, at);
        const std::string_view path = text.substr(at, end - at);
        if (!deep_enough(path)) {
            continue;
        }
        masked.append(text.substr(copied, at - copied));
        masked += masked_path(path, names);
        copied = end;
        at = end == at ? at : end - 1;
    }
    masked.append(text.substr(copied));
    return masked;
}

}  // namespace zvkob
