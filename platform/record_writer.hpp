#pragma once
#include <string_view>

#include "core/outcome.hpp"

namespace zvkob {

// Writes a small file of ZV-KOB's own whole (read it with FileSystem::read_own_file).
class RecordWriter {
public:
    virtual ~RecordWriter() = default;
    // Replaces the file's content as one: a reader, or a write cut short by
    // a power cut, finds the old content or the new, never a part.
    virtual Outcome replace_whole(std::string_view path, std::string_view bytes) = 0;
    // Removes the file; one that is not there is removed already.
    virtual Outcome remove(std::string_view path) = 0;
};

}  // namespace zvkob
