#include "core/folder_key.hpp"

#include <algorithm>
#include <cctype>
#include <vector>

namespace zvkob {
namespace {

bool starts_with_ignoring_case(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

// The text with backslashes only, the long-path and device prefixes taken off.
std::string without_prefix(std::string_view folder) {
    std::string text(folder);
    std::erase(text, '"');
    std::ranges::replace(text, '/', '\\');
    for (const std::string_view unc : {R"(\\?\UNC\)", R"(\\.\UNC\)"}) {
        if (starts_with_ignoring_case(text, unc)) {
            return "\\\\" + text.substr(unc.size());
        }
    }
    for (const std::string_view prefix : {R"(\\?\)", R"(\\.\)"}) {
        if (text.starts_with(prefix)) {
            return text.substr(prefix.size());
        }
    }
    return text;
}

std::vector<std::string> steps_of(std::string_view path) {
    std::vector<std::string> steps;
    std::size_t at = 0;
    while (at <= path.size()) {
        const std::size_t end = std::min(path.find('\\', at), path.size());
        if (end > at) {
            steps.emplace_back(path.substr(at, end - at));
        }
        at = end + 1;
    }
    return steps;
}

// Where the path begins, which ".." never goes above: "D:\", "D:" (the
// drive's current folder), "\\server\share\", "\", or nothing (relative); and
// the steps after it.
std::string root_of(const std::string& text, std::vector<std::string>& steps) {
    if (text.size() >= 2 && text[1] == ':' && std::isalpha(static_cast<unsigned char>(text[0]))) {
        const bool absolute = text.size() > 2 && text[2] == '\\';
        steps = steps_of(std::string_view(text).substr(2));
        return text.substr(0, 2) + (absolute ? "\\" : "");
    }
    steps = steps_of(text);
    if (text.starts_with("\\\\")) {
        const auto share_end = steps.begin() + std::min<std::ptrdiff_t>(2, std::ssize(steps));
        std::string root = "\\\\";
        for (auto step = steps.begin(); step != share_end; ++step) {
            root += *step + "\\";
        }
        steps.erase(steps.begin(), share_end);
        return root;
    }
    return text.starts_with('\\') ? "\\" : "";
}

}  // namespace

std::string plain_folder(std::string_view folder) {
    std::vector<std::string> steps;
    const std::string root = root_of(without_prefix(folder), steps);
    std::vector<std::string> kept;
    for (std::string& step : steps) {
        if (step == ".") {
            continue;
        }
        if (step == ".." && !kept.empty() && kept.back() != "..") {
            kept.pop_back();
        } else if (step != ".." || root.empty() || root.back() != '\\') {
            kept.push_back(std::move(step));  // a relative path keeps what it cannot take back
        }
    }
    std::string plain = root;
    for (std::size_t step = 0; step < kept.size(); ++step) {
        plain += (step == 0 ? "" : "\\") + kept[step];
    }
    if (kept.empty() && root.size() > 2 && root.starts_with("\\\\")) {
        plain.pop_back();  // \\server\share, as Windows writes a share
    }
    return plain;
}

std::string folder_key(std::string_view folder) {
    std::string key = plain_folder(folder);
    std::ranges::transform(key, key.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key;
}

// FNV-1a: short, and the same in every copy.
std::uint32_t folder_mark(std::string_view key) {
    if (key.empty()) {
        return 0;
    }
    std::uint32_t mark = 2166136261U;
    for (const char c : key) {
        mark = (mark ^ static_cast<unsigned char>(c)) * 16777619U;
    }
    return mark == 0 ? 1 : mark;
}

}  // namespace zvkob
