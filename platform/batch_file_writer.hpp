#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "core/outcome.hpp"

namespace zvkob {

// One batch file: where it goes and its single line, without the line end.
struct BatchFile {
    std::string path;
    std::string line;
};

// Writes batch files in the code page the command interpreter reads them with.
class BatchFileWriter {
public:
    virtual ~BatchFileWriter() = default;

    // The number of that code page, for messages (437 on a US system).
    virtual unsigned code_page() = 0;

    // The first character of `text` that the code page cannot hold, or
    // nothing when it holds them all.
    virtual std::optional<std::string> unwritable_character(std::string_view text) = 0;

    // Writes each line followed by CR LF into its file, replacing the file.
    // Both files are prepared beside their targets before either is replaced;
    // on any failure both targets are left as they were, and the outcome
    // names the file and the reason.
    virtual Outcome write_both(const BatchFile& first, const BatchFile& second) = 0;
};

}  // namespace zvkob
