#pragma once
#include <string>
#include <vector>

#include "core/outcome.hpp"

namespace zvkob::win32 {

// The whole new content of one file.
struct FileContent {
    std::wstring path;
    std::string bytes;
};

// Replaces the files as one: each new content is written and flushed beside
// its target first, and only then is each moved into place. When anything
// fails, the files already replaced are put back, so every target keeps its
// old content; the outcome names the file, the reason, and whether anything
// was left changed.
Outcome replace_files_together(const std::vector<FileContent>& files);

}  // namespace zvkob::win32
