#pragma once
// Paths as the test programs see them under wine.
#include <windows.h>

#include <optional>
#include <string>

namespace zvkob::testing {

// This program's own file.
inline std::wstring own_path() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

// The Linux path (UTF-8) of a Windows one, as wine maps it, with the function
// wine's kernel32 exports for it; nothing where wine maps none (or on Windows).
inline std::optional<std::string> wine_unix_path(const std::wstring& windows) {
    using ToUnix = char*(CDECL*)(const wchar_t*);
    static const auto to_unix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* mapped = to_unix != nullptr ? to_unix(windows.c_str()) : nullptr;
    if (mapped == nullptr) {
        return std::nullopt;
    }
    std::string path = mapped;
    HeapFree(GetProcessHeap(), 0, mapped);
    return path;
}

}  // namespace zvkob::testing
