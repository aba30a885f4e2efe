#include "platform/win32/files/win32_record_writer.hpp"

#include <windows.h>

#include "platform/win32/files/files_replaced_together.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {

Outcome Win32RecordWriter::replace_whole(std::string_view path, std::string_view bytes) {
    return replace_files_together({{widen(path), std::string(bytes)}});
}

Outcome Win32RecordWriter::remove(std::string_view path) {
    if (DeleteFileW(widen(path).c_str())) {
        return Outcome::success();
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
               ? Outcome::success()
               : Outcome::failure(system_error_text(error));
}

}  // namespace zvkob::win32
