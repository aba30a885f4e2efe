#include "main_window/namesakes.hpp"

#include <algorithm>
#include <cctype>

namespace zvkob {
namespace {

std::string lower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

// Judged by a command line Windows shows: with a data folder set, the one
// naming it is this copy's, one naming another is not, and one naming none
// uses the node's default folder, which is nobody's in particular. With none
// set, one naming no data folder (or an empty one) is this copy's.
NamesakeVerdict by_command_line(std::string_view command_line, std::string_view data_folder) {
    const std::vector<std::string> named = data_folders_named(command_line);
    const std::string wanted = folder_key(data_folder);
    const bool names_one = std::ranges::any_of(named, [](const auto& f) { return !f.empty(); });
    if (wanted.empty()) {
        return names_one ? NamesakeVerdict{Belonging::elsewhere,
                                           "its command line names a data "
                                           "folder, and this copy has none"}
                         : NamesakeVerdict{Belonging::this_copys,
                                           "its command line names no "
                                           "data folder, as this copy"};
    }
    if (std::ranges::find(named, wanted) != named.end()) {
        return {Belonging::this_copys,
                "its command line names this copy's data folder " + std::string(data_folder)};
    }
    if (names_one) {
        return {Belonging::elsewhere, "its command line names another data folder"};
    }
    return {Belonging::counts, "its command line names no data folder"};
}

}  // namespace

std::string folder_key(std::string_view folder) {
    std::string key = lower(folder);
    std::erase(key, '"');
    while (!key.empty() && (key.back() == '\\' || key.back() == '/')) {
        key.pop_back();
    }
    return key;
}

// Quoted (the option or its value) up to the closing quote, else up to the next space.
std::vector<std::string> data_folders_named(std::string_view command_line) {
    const std::string line = lower(command_line);
    constexpr std::string_view option = "-datadir=";
    std::vector<std::string> folders;
    for (auto at = line.find(option); at != std::string::npos; at = line.find(option, at + 1)) {
        const std::size_t start = at + option.size();
        const bool value_quoted = start < line.size() && line[start] == '"';
        const bool quoted = (at > 0 && line[at - 1] == '"') || value_quoted;
        const std::size_t from = start + (value_quoted ? 1 : 0);
        const std::size_t end = line.find(quoted ? '"' : ' ', from);
        folders.push_back(folder_key(
            std::string_view(line).substr(from, end == std::string::npos ? end : end - from)));
    }
    return folders;
}

NamesakeVerdict namesake_verdict(const std::optional<std::string>& command_line,
                                 CopiesAnswer copies, std::string_view data_folder) {
    if (copies == CopiesAnswer::another_holds_it) {
        return {Belonging::elsewhere, "another copy of ZV-KOB holds it as its node"};
    }
    if (command_line) {
        NamesakeVerdict verdict = by_command_line(*command_line, data_folder);
        if (copies == CopiesAnswer::one_did_not_answer &&
            verdict.belonging != Belonging::elsewhere) {
            return {Belonging::undecided, "another copy of ZV-KOB did not answer yet"};
        }
        return verdict;
    }
    if (copies == CopiesAnswer::one_did_not_answer) {
        return {Belonging::undecided, "another copy of ZV-KOB did not answer yet"};
    }
    // Windows shows no command line: with no data folder set, a process no
    // other copy holds is this copy's; with one set, it cannot be told.
    if (data_folder.empty()) {
        return {Belonging::this_copys, "no other copy of ZV-KOB holds it"};
    }
    return {Belonging::counts, "Windows does not show its command line"};
}

}  // namespace zvkob
