#include "platform/win32/files/win32_batch_file_writer.hpp"

#include "platform/win32/files/files_replaced_together.hpp"
#include "platform/win32/files/oem_text.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {

unsigned Win32BatchFileWriter::code_page() {
    return batch_file_code_page();
}

std::optional<std::string> Win32BatchFileWriter::unwritable_character(std::string_view text) {
    return first_character_not_in(text, batch_file_code_page());
}

Outcome Win32BatchFileWriter::write_both(const BatchFile& first, const BatchFile& second) {
    std::vector<FileContent> files;
    for (const BatchFile* file : {&first, &second}) {
        auto bytes = encode_exactly(file->line + "\r\n", batch_file_code_page());
        if (!bytes) {
            const auto missing = first_character_not_in(file->line, batch_file_code_page());
            return Outcome::failure("The line for " + file->path + " holds the character " +
                                    missing.value_or("?") + ", which code page " +
                                    std::to_string(batch_file_code_page()) +
                                    " cannot hold. No file was changed.");
        }
        files.push_back({widen(file->path), std::move(*bytes)});
    }
    return replace_files_together(files);
}

}  // namespace zvkob::win32
