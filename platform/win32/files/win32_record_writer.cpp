#include "platform/win32/files/win32_record_writer.hpp"

#include "platform/win32/files/files_replaced_together.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {

Outcome Win32RecordWriter::replace_whole(std::string_view path, std::string_view bytes) {
    return replace_files_together({{widen(path), std::string(bytes)}});
}

}  // namespace zvkob::win32
