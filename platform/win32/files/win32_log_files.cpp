#include "platform/win32/files/win32_log_files.hpp"

#include <windows.h>

#include "platform/win32/owners.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

Outcome failed(std::string_view what, std::string_view path) {
    return Outcome::failure("ZV-KOB could not " + std::string(what) + " " + std::string(path) +
                            ": " + system_error_text(GetLastError()));
}

}  // namespace

std::optional<std::uint64_t> Win32LogFiles::size(std::string_view path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(widen(path).c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

Outcome Win32LogFiles::append(std::string_view path, std::string_view bytes) {
    const std::wstring file = widen(path);
    const auto slash = file.find_last_of(L'\\');
    if (slash != std::wstring::npos) {
        CreateDirectoryW(file.substr(0, slash).c_str(), nullptr);  // fails when it exists
    }
    const KernelHandle handle = file_handle(CreateFileW(
        file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
        return failed("open", path);
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(handle.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return ok && written == bytes.size() ? Outcome::success() : failed("write to", path);
}

Outcome Win32LogFiles::replace(std::string_view from, std::string_view to) {
    if (!MoveFileExW(widen(from).c_str(), widen(to).c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return failed("move the full history to", to);
    }
    return Outcome::success();
}

}  // namespace zvkob::win32
