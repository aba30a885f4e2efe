#include "main_window/node_of_this_copy.hpp"

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

// A folder as compared: no quotes, no trailing backslashes, lower case.
std::string folder_key(std::string_view folder) {
    std::string key = lower(folder);
    std::erase(key, '"');
    while (!key.empty() && key.back() == '\\') {
        key.pop_back();
    }
    return key;
}

// The values of every -datadir= on a command line: quoted (the option or its
// value) up to the closing quote, else up to the next space.
std::vector<std::string> data_folders_named(std::string_view command_line) {
    const std::string line = lower(command_line);
    constexpr std::string_view option = "-datadir=";
    std::vector<std::string> folders;
    for (auto at = line.find(option); at != std::string::npos; at = line.find(option, at + 1)) {
        const std::size_t start = at + option.size();
        const bool quoted =
            (at > 0 && line[at - 1] == '"') || (start < line.size() && line[start] == '"');
        const std::size_t from = start + ((start < line.size() && line[start] == '"') ? 1 : 0);
        const std::size_t end = line.find(quoted ? '"' : ' ', from);
        folders.push_back(folder_key(
            std::string_view(line).substr(from, end == std::string::npos ? end : end - from)));
    }
    return folders;
}

// With no data folder set, a node that names none (or an empty one) is ours.
bool holds_data_folder(const RunningProcess& process, std::string_view data_folder) {
    const std::vector<std::string> named = data_folders_named(process.command_line);
    const std::string wanted = folder_key(data_folder);
    if (wanted.empty()) {
        return std::ranges::all_of(named, [](const std::string& f) { return f.empty(); });
    }
    return std::ranges::find(named, wanted) != named.end();
}

}  // namespace

NodeIdentity node_of_this_copy(const std::vector<RunningProcess>& running,
                               std::optional<unsigned long> started_interpreter,
                               std::string_view data_folder, std::string_view image_name) {
    const std::string name(image_name);
    if (started_interpreter) {
        for (const RunningProcess& process : running) {
            if (process.parent_id == *started_interpreter) {
                return {process.id, {}};
            }
        }
    }
    if (!running.empty() && std::ranges::all_of(running, [](const RunningProcess& process) {
            return process.command_line.empty();
        })) {
        return {0, "Windows does not show ZV-KOB the command line of the running " + name +
                       " (it may run as another user or as administrator), so ZV-KOB cannot "
                       "tell whether it is this copy's node."};
    }
    std::vector<const RunningProcess*> ours;
    for (const RunningProcess& process : running) {
        if (holds_data_folder(process, data_folder)) {
            ours.push_back(&process);
        }
    }
    const std::string which = data_folder.empty() ? std::string("that names no data folder")
                                                  : "whose command line holds the data folder " +
                                                        std::string(data_folder);
    if (ours.size() == 1) {
        return {ours.front()->id, {}};
    }
    if (ours.empty()) {
        return {0, "No " + name + " " + which + " runs, so none is this copy's node."};
    }
    return {0, std::to_string(ours.size()) + " programs named " + name + " " + which +
                   " run, and ZV-KOB cannot tell which is this copy's node; it stops none of "
                   "them rather than another copy's."};
}

}  // namespace zvkob
