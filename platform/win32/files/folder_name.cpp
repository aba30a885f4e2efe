#include "platform/win32/files/folder_name.hpp"

#include <windows.h>
#include <winnetwk.h>

#include <vector>

#include "core/folder_key.hpp"
#include "platform/win32/owners.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

// Both ask for the length first, then fill; 0 is a failure.
template <typename Ask>
std::wstring asked_twice(const std::wstring& path, Ask ask) {
    const DWORD needed = ask(nullptr, 0);
    if (needed == 0) {
        return path;
    }
    std::wstring answer(needed, L'\0');
    const DWORD length = ask(answer.data(), needed);
    if (length == 0 || length >= needed) {
        return path;
    }
    answer.resize(length);
    return answer;
}

std::wstring full_path(const std::wstring& path) {
    return asked_twice(path, [&](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
    });
}

// Only for a folder that exists; any other keeps its name.
std::wstring long_path(const std::wstring& path) {
    return asked_twice(path, [&](wchar_t* buffer, DWORD size) {
        return GetLongPathNameW(path.c_str(), buffer, size);
    });
}

using UniversalNameOf = DWORD(WINAPI*)(LPCWSTR, DWORD, LPVOID, LPDWORD);

// From System32 only, and only once a mapped drive is met: a program that
// never meets one never loads the network library.
UniversalNameOf universal_name_function() {
    static const Library mpr(LoadLibraryExW(L"mpr.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    return mpr ? reinterpret_cast<UniversalNameOf>(
                     reinterpret_cast<void*>(GetProcAddress(mpr.get(), "WNetGetUniversalNameW")))
               : nullptr;
}

// D:\Chain on a drive mapped to \\server\share is \\server\share\Chain.
std::wstring network_path(const std::wstring& path) {
    if (path.size() < 3 || path[1] != L':' || path[2] != L'\\' ||
        GetDriveTypeW(path.substr(0, 3).c_str()) != DRIVE_REMOTE) {
        return path;
    }
    static const UniversalNameOf universal_name_of = universal_name_function();
    if (universal_name_of == nullptr) {
        return path;
    }
    DWORD size = 1024;
    std::vector<unsigned char> buffer(size);
    DWORD result = universal_name_of(path.c_str(), UNIVERSAL_NAME_INFO_LEVEL, buffer.data(), &size);
    if (result == ERROR_MORE_DATA) {
        buffer.resize(size);
        result = universal_name_of(path.c_str(), UNIVERSAL_NAME_INFO_LEVEL, buffer.data(), &size);
    }
    if (result != NO_ERROR) {
        return path;
    }
    return reinterpret_cast<const UNIVERSAL_NAME_INFOW*>(buffer.data())->lpUniversalName;
}

// As the file system compares names: without regard to case, for every letter.
std::wstring folded(const std::wstring& path) {
    std::wstring lower(path.size(), L'\0');
    const int length = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, path.c_str(),
                                     static_cast<int>(path.size()), lower.data(),
                                     static_cast<int>(lower.size()), nullptr, nullptr, 0);
    return length == static_cast<int>(path.size()) ? lower : path;
}

}  // namespace

std::string resolved_folder_name(std::string_view folder) {
    const std::wstring plain = widen(plain_folder(folder));
    if (plain.empty()) {
        return std::string(folder);
    }
    return narrow(folded(network_path(long_path(full_path(plain)))));
}

}  // namespace zvkob::win32
