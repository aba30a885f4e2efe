#pragma once
#include <string>
#include <string_view>

namespace zvkob {

// How the node keeps its block files. From version 28 a node obfuscates the
// block files of a new data folder with the key in blocks\xor.dat; a folder
// made before keeps plain files (an xor.dat of eight zero bytes), as does
// every node before 28 and the forks (no xor.dat at all). A plain block file
// can look like a threat to an antivirus, and one it quarantines or locks
// damages the node's database.
enum class BlockFiles {
    unknown,   // the blocks folder is not there yet, or xor.dat could not be read
    no_key,    // plain: no xor.dat
    zero_key,  // plain: xor.dat of eight zero bytes
    obfuscated,
};

// What blocks\xor.dat tells: `key` is its content, or none when there is no such file.
struct XorKeyFile {
    bool blocks_folder_there = false;
    bool there = false;
    bool unreadable = false;
    std::string key;
};
BlockFiles block_files_of(const XorKeyFile& file);

inline bool plain(BlockFiles files) {
    return files == BlockFiles::no_key || files == BlockFiles::zero_key;
}

// ZV-KOB's own hint, for the history: "ZV-KOB's hint: the node's block files
// in D:\Chain\blocks are not obfuscated (there is no blocks\xor.dat), so an
// antivirus may take one of them for a threat ...".
std::string antivirus_hint_event(BlockFiles files, std::string_view data_folder,
                                 std::string_view blocks_folder);

// The same for the status label's tooltip, shorter.
std::string antivirus_hint_tooltip(std::string_view data_folder);

}  // namespace zvkob
