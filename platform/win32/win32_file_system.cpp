#include "platform/win32/win32_file_system.hpp"

#include <windows.h>

#include "platform/win32/owners.hpp"
#include "platform/win32/wide_text.hpp"
#include "platform/win32/win32_clock.hpp"

namespace zvkob::win32 {
namespace {

void add_if_file(const std::wstring& path, std::vector<FoundFile>& found) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        found.push_back({narrow(path), milliseconds_of(data.ftLastWriteTime)});
    }
}

}  // namespace

bool Win32FileSystem::is_file(std::string_view path) {
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::vector<FoundFile> Win32FileSystem::files_named(std::string_view folder,
                                                    std::string_view name) {
    const std::wstring base = widen(folder);
    const std::wstring file = widen(name);
    std::vector<FoundFile> found;
    add_if_file(base + L"\\" + file, found);
    WIN32_FIND_DATAW entry{};
    const FindHandle search(FindFirstFileW((base + L"\\*").c_str(), &entry));
    if (!search) {
        return found;
    }
    do {
        const std::wstring child = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && child != L"." &&
            child != L"..") {
            add_if_file(base + L"\\" + child + L"\\" + file, found);
        }
    } while (FindNextFileW(search.get(), &entry));
    return found;
}

bool Win32FileSystem::is_folder(std::string_view path) {
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Also for a folder on a network path; the space the user's quota leaves.
FreeSpace Win32FileSystem::free_space(std::string_view folder) {
    ULARGE_INTEGER available{};
    std::wstring path = widen(folder);
    if (!path.empty() && path.back() != L'\\') {
        path += L'\\';
    }
    if (!GetDiskFreeSpaceExW(path.c_str(), &available, nullptr, nullptr)) {
        return {0, system_error_text(GetLastError())};
    }
    return {available.QuadPart, {}};
}

// Shared with the node, which keeps its log open for writing.
FileEnd Win32FileSystem::read_end(std::string_view path, std::size_t bytes) {
    const KernelHandle file = file_handle(CreateFileW(
        widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return {{}, system_error_text(GetLastError())};
    }
    LARGE_INTEGER size{};
    GetFileSizeEx(file.get(), &size);
    const auto wanted = static_cast<LONGLONG>(bytes);
    LARGE_INTEGER start{};
    start.QuadPart = size.QuadPart > wanted ? size.QuadPart - wanted : 0;
    FileEnd end;
    end.text.resize(static_cast<std::size_t>(size.QuadPart - start.QuadPart));
    DWORD read = 0;
    if (!SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN) ||
        !ReadFile(file.get(), end.text.data(), static_cast<DWORD>(end.text.size()), &read,
                  nullptr)) {
        end.failure = system_error_text(GetLastError());
    }
    end.text.resize(read);
    return end;
}

}  // namespace zvkob::win32
