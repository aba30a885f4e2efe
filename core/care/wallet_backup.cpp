#include "core/care/wallet_backup.hpp"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "core/shown_text.hpp"

namespace zvkob {
namespace {

constexpr std::string_view written_mark = "Wallet backup written: ";
constexpr std::size_t longest_name_bytes = 100;
constexpr std::size_t error_characters = 300;

std::string wallet_words(std::string_view wallet) {
    return wallet.empty() ? "the default wallet" : "wallet \"" + std::string(wallet) + "\"";
}

// A wallet's name may hold any character, and may be a path of its own
// ("C:\wallets\cold", "team/savings"): every character Windows forbids in a
// file name (\ / : * ? " < > | and control characters) becomes "_", so the
// whole name stays readable and two wallets in different folders keep
// different files; trailing dots and spaces, which Windows drops, go too.
// A long name is cut (never inside a UTF-8 character) to keep paths short.
// Two wallets may so come to one stem: planned_backups() tells them apart.
std::string backup_file_stem(std::string_view wallet, const LocalTime& at) {
    std::string name;
    for (const char c : wallet) {
        const bool forbidden = static_cast<unsigned char>(c) < 0x20 ||
                               std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
        name += forbidden ? '_' : c;
    }
    if (name.size() > longest_name_bytes) {
        std::size_t cut = longest_name_bytes;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        name.resize(cut);
    }
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) {
        name.pop_back();
    }
    if (name.empty()) {
        name = "default";
    }
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "-%04d-%02d-%02d-%02d%02d%02d", at.year, at.month, at.day,
                  at.hour, at.minute, at.second);
    return name + stamp;
}

// The characters of a name as Windows compares them: an ASCII letter in
// lower case, any other ASCII as it is, and each character beyond ASCII as
// one that may equal any other (0).
std::vector<char> compared_characters(std::string_view name) {
    std::vector<char> characters;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            characters.push_back(static_cast<char>(std::tolower(byte)));
        } else if ((byte & 0xC0) != 0x80) {
            characters.push_back(0);  // the first byte of a character beyond ASCII
        }
    }
    return characters;
}

}  // namespace

std::string backup_file_name(std::string_view wallet, const LocalTime& at) {
    return backup_file_stem(wallet, at) + ".dat";
}

std::string backup_destination(std::string_view folder, std::string_view file_name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '\\' && path.back() != '/') {
        path += '\\';
    }
    return path + std::string(file_name);
}

bool may_name_one_file(std::string_view a, std::string_view b) {
    const std::vector<char> first = compared_characters(a);
    const std::vector<char> second = compared_characters(b);
    return std::ranges::equal(first, second,
                              [](char x, char y) { return x == y || x == 0 || y == 0; });
}

std::vector<WalletBackup> planned_backups(std::string_view folder,
                                          std::span<const std::string> wallets, const LocalTime& at,
                                          std::span<const std::string> names_in_folder) {
    std::vector<std::string> taken(names_in_folder.begin(), names_in_folder.end());
    std::vector<WalletBackup> planned;
    for (const std::string& wallet : wallets) {
        const std::string stem = backup_file_stem(wallet, at);
        std::string file = stem + ".dat";
        // Finitely many names are taken: a free number is found.
        for (int number = 2; std::ranges::any_of(
                 taken, [&file](const std::string& name) { return may_name_one_file(name, file); });
             ++number) {
            file = stem + "-" + std::to_string(number) + ".dat";
        }
        taken.push_back(file);
        planned.push_back({wallet, backup_destination(folder, file), {}});
    }
    return planned;
}

std::string backup_message(std::string_view folder, std::span<const WalletBackup> backups) {
    std::string message = "Wallet backup to " + std::string(folder) + ":\n";
    for (const WalletBackup& backup : backups) {
        const std::size_t slash = backup.destination.find_last_of("\\/");
        const std::string file =
            slash == std::string::npos ? backup.destination : backup.destination.substr(slash + 1);
        const std::string why = shown_text(backup.error, error_characters);
        message += "\n" + wallet_words(backup.wallet);
        if (backup.error.empty()) {
            message += ": written as " + file;
        } else if (backup.why == WalletBackup::Why::no_answer) {
            message += ": asked to be written as " + file + "; " + why +
                       ", so ZV-KOB cannot tell whether it was";
        } else if (backup.why == WalletBackup::Why::not_asked) {
            message += ": not written (as " + file + "): " + why;
        } else {
            message += ": not written. The node says: " + why;
        }
    }
    return message;
}

std::string backup_event(const WalletBackup& backup) {
    const std::string what = wallet_words(backup.wallet) + " to " + backup.destination;
    if (backup.error.empty()) {
        return std::string(written_mark) + what;
    }
    const std::string why = shown_text(backup.error, error_characters);
    return (backup.why == WalletBackup::Why::no_answer ? "Wallet backup not confirmed: "
                                                       : "Wallet backup failed: ") +
           what + ": " + why;
}

// Each line is "<stamp> <event>"; the history is written in order, so the
// last line found is the latest.
std::optional<std::int64_t> last_backup_in(std::string_view history_text) {
    std::optional<std::int64_t> last;
    std::size_t start = 0;
    while (start < history_text.size()) {
        std::size_t end = history_text.find('\n', start);
        if (end == std::string_view::npos) {
            end = history_text.size();
        }
        const std::string_view line = history_text.substr(start, end - start);
        const std::size_t space = line.find(' ');
        if (space != std::string_view::npos && line.substr(space + 1).starts_with(written_mark)) {
            if (const auto at = history_stamp_ms(line)) {
                last = at;
            }
        }
        start = end + 1;
    }
    return last;
}

std::optional<std::int64_t> last_backup_recorded(FileSystem& files, std::string_view history_path) {
    // The history is moved aside at 1 MiB; a viewer holding it may let it grow a little beyond.
    constexpr std::size_t read_at_most = 4 << 20;
    const std::string path(history_path);
    if (const auto last = last_backup_in(files.read_end(path, read_at_most).text)) {
        return last;
    }
    const std::size_t dot = path.rfind(".log");
    if (dot == std::string::npos) {
        return std::nullopt;
    }
    return last_backup_in(files.read_end(path.substr(0, dot) + ".old.log", read_at_most).text);
}

std::string backup_reminder(std::optional<std::int64_t> last_backup_ms, std::int64_t now_ms) {
    if (!last_backup_ms) {
        return "No wallet backup recorded";
    }
    const std::int64_t age_ms = now_ms - *last_backup_ms;
    if (age_ms <= backup_overdue_ms) {
        return {};
    }
    return "Last wallet backup " + std::to_string(age_ms / 86'400'000) + " days ago";
}

}  // namespace zvkob
