#include "core/windows_path.hpp"

#include <cctype>

namespace zvkob {
namespace {

bool is_separator(char c) {
    return c == '\\' || c == '/';
}

bool has_drive(std::string_view path) {
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

bool is_unc(std::string_view path) {
    return path.size() >= 2 && is_separator(path[0]) && is_separator(path[1]);
}

// "C:" of "C:\data", or "\\server\share" of "\\server\share\data".
std::string_view root_name(std::string_view path) {
    if (has_drive(path)) {
        return path.substr(0, 2);
    }
    if (!is_unc(path)) {
        return {};
    }
    std::size_t end = 2;
    for (int part = 0; part < 2; ++part) {
        while (end < path.size() && !is_separator(path[end])) {
            ++end;
        }
        if (part == 0 && end < path.size()) {
            ++end;
        }
    }
    return path.substr(0, end);
}

std::string_view without_trailing_separators(std::string_view path) {
    while (!path.empty() && is_separator(path.back())) {
        path.remove_suffix(1);
    }
    return path;
}

}  // namespace

bool is_absolute_path(std::string_view path) {
    return (has_drive(path) && path.size() >= 3 && is_separator(path[2])) || is_unc(path);
}

std::string path_from_folder(std::string_view folder, std::string_view path) {
    if (is_absolute_path(path)) {
        return std::string(path);
    }
    if (!path.empty() && is_separator(path.front())) {
        return std::string(root_name(folder)) + std::string(path);
    }
    return std::string(without_trailing_separators(folder)) + "\\" + std::string(path);
}

std::string beside_history(std::string_view history_path, std::string_view extension) {
    if (history_path.ends_with(".log")) {
        history_path.remove_suffix(4);
    }
    return std::string(history_path) + std::string(extension);
}

}  // namespace zvkob
