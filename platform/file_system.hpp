#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/node_log/log_follower.hpp"

namespace zvkob {

// The free space of a drive, or why it could not be told.
struct FreeSpace {
    std::uint64_t bytes = 0;
    std::string failure;  // empty when told
};

// The end of a file as text, or why it could not be read.
struct FileEnd {
    std::string text;
    bool whole_file = false;  // the text begins at the file's first byte
    std::string failure;      // empty when it was read
};

// How a text file is written: UTF-8, or the console's code page (a batch file).
enum class TextCoding { utf8, console };

// The size of a folder's files, or why it could not be told.
struct FolderSize {
    std::uint64_t bytes = 0;
    bool complete = true;  // false when the time ran out before every subfolder was walked
    std::string failure;   // empty when the folder could be read
};

// The names of what a folder holds, or why they could not be listed.
struct FolderNames {
    std::vector<std::string> names;  // files and folders, their long names
    std::string failure;             // empty when listed
};

// A small file of ZV-KOB's own, read whole: its text; or neither text nor
// failure when it is not there; or why it is there but could not be read
// now (a viewer or a scanner holding it), which is not the same as not there.
struct OwnFile {
    std::optional<std::string> text;
    std::string failure;
};

// The node's log opened for one reading, or why it could not be.
struct OpenedFile {
    std::unique_ptr<OpenedLog> file;  // closes the file when it goes
    std::string failure;
};

// What the windows ask about files and folders on the machine.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Whether a file (not a folder) exists at this path.
    virtual bool is_file(std::string_view path) = 0;
    // The last `bytes` bytes of a file (all of a smaller one), read sharing
    // it with a writer: opened, read and closed at once, the size taken from
    // the open file.
    virtual FileEnd read_end(std::string_view path, std::size_t bytes) = 0;
    // A small text file as UTF-8 (a configuration or batch file), or nothing
    // when it is missing or cannot be read.
    virtual std::optional<std::string> read_text(std::string_view path, TextCoding coding) = 0;
    // A record of ZV-KOB's own beside its history (RecordWriter writes it), as UTF-8.
    virtual OwnFile read_own_file(std::string_view path) = 0;
    // Opens a file another program writes (the node's log), sharing it for
    // reading, writing and deleting, for one reading.
    virtual OpenedFile open_shared(std::string_view path) = 0;
    // Whether a folder exists (and its drive is there).
    virtual bool is_folder(std::string_view path) = 0;
    // What the folder holds, by name: it may wait on the drive.
    virtual FolderNames names_in(std::string_view folder) = 0;
    // The space free for the user on the drive that holds the folder.
    virtual FreeSpace free_space(std::string_view folder) = 0;
    // The folder's full name as Windows resolves it (its long name for an 8.3
    // one, a mapped drive's network path), in lower case as Windows folds it;
    // the folder as given where it cannot be resolved. It may wait on the
    // network.
    virtual std::string resolve_folder(std::string_view folder) = 0;
    // The bytes of all files in a folder and its subfolders, walking no
    // link or junction out of it, for at most `time_limit_ms`. It may take
    // seconds on a large folder: not on the window's thread.
    virtual FolderSize folder_size(std::string_view folder, std::int64_t time_limit_ms) = 0;
};

}  // namespace zvkob
