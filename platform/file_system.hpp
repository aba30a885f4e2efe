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
};

}  // namespace zvkob
