#include "platform/win32/files/win32_file_system.hpp"

#include <windows.h>

#include <utility>
#include <vector>

#include "platform/win32/files/folder_name.hpp"
#include "platform/win32/files/oem_text.hpp"
#include "platform/win32/owners.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

// Configuration and batch files are small; a larger file is not one of them.
constexpr std::size_t largest_text_file = 1 << 20;

// UTF-8 text is handed on in its own buffer, not copied: a cookie read
// here leaves no copy behind in memory freed unwiped.
std::optional<std::string> utf8_of(std::string&& bytes, TextCoding coding) {
    if (coding == TextCoding::utf8) {
        return std::optional<std::string>(std::move(bytes));
    }
    const UINT code_page = batch_file_code_page();
    const int length =
        MultiByteToWideChar(code_page, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(code_page, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                        length);
    return narrow(text);
}

}  // namespace

bool Win32FileSystem::is_file(std::string_view path) {
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
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

std::string Win32FileSystem::resolve_folder(std::string_view folder) {
    return resolved_folder_name(folder);
}

// Shared with the node, which keeps its log open for writing.
FileEnd Win32FileSystem::read_end(std::string_view path, std::size_t bytes) {
    const KernelHandle file = file_handle(CreateFileW(
        widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return {{}, false, system_error_text(GetLastError())};
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
    end.whole_file = start.QuadPart == 0;
    return end;
}

namespace {

// Open for one reading; closed when it goes.
class SharedFile : public OpenedLog {
public:
    explicit SharedFile(KernelHandle file) : file_(std::move(file)) {}
    std::uint64_t size() override {
        LARGE_INTEGER size{};
        return GetFileSizeEx(file_.get(), &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
    }
    std::string read(std::uint64_t offset, std::size_t bytes) override {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(offset);
        std::string text(bytes, '\0');
        DWORD read = 0;
        if (!SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN) ||
            !ReadFile(file_.get(), text.data(), static_cast<DWORD>(bytes), &read, nullptr)) {
            read = 0;
        }
        text.resize(read);
        return text;
    }

private:
    KernelHandle file_;
};

}  // namespace

// Shared for reading, writing and deleting: the node keeps writing, and may
// shrink or replace its log meanwhile.
OpenedFile Win32FileSystem::open_shared(std::string_view path) {
    KernelHandle file = file_handle(CreateFileW(
        widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return {nullptr, system_error_text(GetLastError())};
    }
    return {std::make_unique<SharedFile>(std::move(file)), {}};
}

std::optional<std::string> Win32FileSystem::read_text(std::string_view path, TextCoding coding) {
    FileEnd whole = read_end(path, largest_text_file);
    if (!whole.failure.empty() || !whole.whole_file) {
        return std::nullopt;
    }
    return utf8_of(std::move(whole.text), coding);
}

OwnFile Win32FileSystem::read_own_file(std::string_view path) {
    FileEnd whole = read_end(path, largest_text_file);
    if (whole.failure.empty() && whole.whole_file) {
        return {std::move(whole.text), {}};
    }
    if (!is_file(path)) {
        return {};
    }
    return {std::nullopt, whole.failure.empty() ? std::string("it is larger than 1 MiB")
                                                : std::move(whole.failure)};
}

FolderNames Win32FileSystem::names_in(std::string_view folder) {
    std::wstring pattern = widen(folder);
    if (!pattern.empty() && pattern.back() != L'\\') {
        pattern += L'\\';
    }
    pattern += L'*';
    FolderNames listed;
    WIN32_FIND_DATAW found{};
    const FindHandle search(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, 0));
    if (!search) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) {  // else an empty drive's root: nothing there
            listed.failure = system_error_text(error);
        }
        return listed;
    }
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") {
            listed.names.push_back(narrow(name));
        }
    } while (FindNextFileW(search.get(), &found));
    const DWORD ended = GetLastError();
    if (ended != ERROR_NO_MORE_FILES) {
        listed.failure = system_error_text(ended);
    }
    return listed;
}

// A node's data folder holds tens of thousands of block files: the basic
// information and large fetches make each directory one or two round trips.
// Links and junctions are not followed: they may lead out of the folder, or
// into a loop.
FolderSize Win32FileSystem::folder_size(std::string_view folder, std::int64_t time_limit_ms) {
    const ULONGLONG deadline =
        GetTickCount64() + static_cast<ULONGLONG>(time_limit_ms > 0 ? time_limit_ms : 0);
    FolderSize size;
    std::vector<std::wstring> waiting{widen(folder)};
    bool first = true;
    while (!waiting.empty()) {
        if (GetTickCount64() >= deadline) {
            size.complete = false;
            break;
        }
        std::wstring path = std::move(waiting.back());
        waiting.pop_back();
        if (!path.empty() && path.back() != L'\\') {
            path += L'\\';
        }
        WIN32_FIND_DATAW found{};
        const FindHandle search(FindFirstFileExW((path + L'*').c_str(), FindExInfoBasic, &found,
                                                 FindExSearchNameMatch, nullptr,
                                                 FIND_FIRST_EX_LARGE_FETCH));
        if (!search) {
            if (first) {
                size.failure = system_error_text(GetLastError());
                return size;
            }
            continue;  // a subfolder the user may not read: its size stays unknown
        }
        first = false;
        do {
            const std::wstring_view name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                size.bytes +=
                    (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32U) | found.nFileSizeLow;
            } else if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
                waiting.push_back(path + std::wstring(name));
            }
        } while (FindNextFileW(search.get(), &found));
    }
    return size;
}

}  // namespace zvkob::win32
