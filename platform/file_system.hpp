#pragma once
#include <string_view>

namespace zvkob {

// What the windows ask about files and folders on the machine.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Whether a file (not a folder) exists at this path.
    virtual bool is_file(std::string_view path) = 0;
};

}  // namespace zvkob
