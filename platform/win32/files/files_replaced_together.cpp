#include "platform/win32/files/files_replaced_together.hpp"

#include <windows.h>

#include <optional>

#include "platform/win32/owners.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

constexpr wchar_t new_suffix[] = L".zvkob-new";
constexpr wchar_t old_suffix[] = L".zvkob-old";
constexpr DWORD replace = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
constexpr char nothing_changed[] = " No file was changed.";

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string last_error() {
    return system_error_text(GetLastError());
}

// Windows itself refuses to replace a read-only file, but not every
// implementation of the move does: check it here so that both behave alike.
std::optional<std::string> unreplaceable(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;  // a new file; a missing folder shows when writing
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return narrow(path) + " is a folder, not a file.";
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return narrow(path) + " is read-only.";
    }
    return std::nullopt;
}

Outcome write_whole_file(const std::wstring& path, const std::string& bytes) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);  // a left-over from a crash
    KernelHandle file = file_handle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return Outcome::failure(last_error());
    }
    DWORD written = 0;
    const BOOL wrote =
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    std::string reason;
    if (!wrote || written != bytes.size()) {
        reason = wrote ? "Not every byte could be written." : last_error();
    } else if (!FlushFileBuffers(file.get())) {
        reason = last_error();
    }
    if (!file.close() && reason.empty()) {
        reason = last_error();
    }
    return reason.empty() ? Outcome::success() : Outcome::failure(reason);
}

// A target already replaced, and where its old content is kept (empty when
// it did not exist before).
struct Replaced {
    std::wstring path;
    std::wstring backup;
};

// Puts back the targets already replaced; says what could not be restored.
std::string put_back(const std::vector<Replaced>& done) {
    std::string unrestored;
    for (auto it = done.rbegin(); it != done.rend(); ++it) {
        const bool restored = it->backup.empty() ? DeleteFileW(it->path.c_str()) != FALSE
                                                 : MoveFileExW(it->backup.c_str(), it->path.c_str(),
                                                               replace) != FALSE;
        if (!restored) {
            unrestored += " " + narrow(it->path) + " could not be put back (" + last_error() + ")";
            unrestored += it->backup.empty()
                              ? "."
                              : "; its earlier content is in " + narrow(it->backup) + ".";
        }
    }
    return unrestored.empty() ? nothing_changed : unrestored;
}

void remove_files(const std::vector<std::wstring>& paths) {
    for (const auto& path : paths) {
        DeleteFileW(path.c_str());
    }
}

}  // namespace

Outcome replace_files_together(const std::vector<FileContent>& files) {
    for (const FileContent& file : files) {
        if (const auto refused = unreplaceable(file.path)) {
            return Outcome::failure(*refused + nothing_changed);
        }
    }
    std::vector<std::wstring> prepared;
    for (const FileContent& file : files) {
        prepared.push_back(file.path + new_suffix);
        const Outcome written = write_whole_file(prepared.back(), file.bytes);
        if (!written) {
            remove_files(prepared);
            return Outcome::failure("ZV-KOB could not write " + narrow(file.path) + ": " +
                                    written.reason() + nothing_changed);
        }
    }
    std::vector<Replaced> done;
    for (std::size_t index = 0; index < files.size(); ++index) {
        const std::wstring& target = files[index].path;
        Replaced replaced{target, {}};
        if (exists(target)) {
            replaced.backup = target + old_suffix;
            SetFileAttributesW(replaced.backup.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!CopyFileW(target.c_str(), replaced.backup.c_str(), FALSE)) {
                const std::string reason = last_error();
                remove_files(prepared);
                DeleteFileW(replaced.backup.c_str());
                return Outcome::failure("ZV-KOB could not replace " + narrow(target) + ": " +
                                        reason + put_back(done));
            }
        }
        if (!MoveFileExW(prepared[index].c_str(), target.c_str(), replace)) {
            const std::string reason = last_error();
            remove_files(prepared);
            if (!replaced.backup.empty()) {
                DeleteFileW(replaced.backup.c_str());
            }
            return Outcome::failure("ZV-KOB could not replace " + narrow(target) + ": " + reason +
                                    put_back(done));
        }
        done.push_back(replaced);
    }
    for (const Replaced& replaced : done) {
        if (!replaced.backup.empty()) {
            DeleteFileW(replaced.backup.c_str());
        }
    }
    return Outcome::success();
}

}  // namespace zvkob::win32
