#include "core/care/block_files.hpp"

#include <algorithm>
#include <cctype>

namespace zvkob {
namespace {

constexpr std::size_t key_length = 8;

// Whether `path` lies in `folder`, as Windows compares names (case aside).
bool lies_in(std::string_view path, std::string_view folder) {
    return path.size() > folder.size() &&
           std::equal(folder.begin(), folder.end(), path.begin(),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      }) &&
           (path[folder.size()] == '\\' || path[folder.size()] == '/');
}

}  // namespace

BlockFiles block_files_of(const XorKeyFile& file) {
    if (!file.blocks_folder_there) {
        return BlockFiles::unknown;
    }
    if (!file.there) {
        return BlockFiles::no_key;
    }
    if (file.unreadable || file.key.size() != key_length) {
        return BlockFiles::unknown;
    }
    return std::ranges::all_of(file.key, [](char byte) { return byte == '\0'; })
               ? BlockFiles::zero_key
               : BlockFiles::obfuscated;
}

std::string antivirus_hint_event(BlockFiles files, std::string_view data_folder,
                                 std::string_view blocks_folder) {
    const std::string why = files == BlockFiles::zero_key
                                ? "its xor.dat holds no key: the data folder was made before "
                                  "version 28 of the node"
                                : "there is no xor.dat: nodes before version 28 and many others "
                                  "do not obfuscate them";
    return "ZV-KOB's hint: the node's block files in " + std::string(blocks_folder) +
           " are not obfuscated (" + why +
           "), so an antivirus may take one of them for a threat and quarantine or lock it, which "
           "damages the node's database. Excluding the data folder " +
           std::string(data_folder) +
           (lies_in(blocks_folder, data_folder) ? "" : " and " + std::string(blocks_folder)) +
           " from scanning avoids it.";
}

std::string antivirus_hint_tooltip(std::string_view data_folder) {
    return "Hint: exclude " + std::string(data_folder) +
           " from antivirus scanning: the node's block files are not obfuscated, and a scanner "
           "that takes one damages its database";
}

}  // namespace zvkob
