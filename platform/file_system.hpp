#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zvkob {

// A file found on disk, and when it was last written (milliseconds since 1970, UTC).
struct FoundFile {
    std::string path;
    std::int64_t written_ms = 0;
};

// The free space of a drive, or why it could not be told.
struct FreeSpace {
    std::uint64_t bytes = 0;
    std::string failure;  // empty when told
};

// The end of a file as text, or why it could not be read.
struct FileEnd {
    std::string text;
    std::string failure;  // empty when it was read
};

// What the windows ask about files and folders on the machine.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Whether a file (not a folder) exists at this path.
    virtual bool is_file(std::string_view path) = 0;
    // The files with this name in the folder and in each folder directly below it.
    virtual std::vector<FoundFile> files_named(std::string_view folder, std::string_view name) = 0;
    // The last `bytes` bytes of a file (all of a smaller one).
    virtual FileEnd read_end(std::string_view path, std::size_t bytes) = 0;
    // Whether a folder exists (and its drive is there).
    virtual bool is_folder(std::string_view path) = 0;
    // The space free for the user on the drive that holds the folder.
    virtual FreeSpace free_space(std::string_view folder) = 0;
};

}  // namespace zvkob
