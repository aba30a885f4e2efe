#pragma once
#include "platform/batch_file_writer.hpp"

namespace zvkob::win32 {

// Batch files in the console's code page, both replaced together.
class Win32BatchFileWriter : public BatchFileWriter {
public:
    unsigned code_page() override;
    std::optional<std::string> unwritable_character(std::string_view text) override;
    Outcome write_both(const BatchFile& first, const BatchFile& second) override;
};

}  // namespace zvkob::win32
