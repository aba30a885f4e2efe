#include "platform/win32/run_key_startup_entry.hpp"

#include <windows.h>

#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

constexpr wchar_t run_key[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t approved_key[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

Outcome outcome_of(LSTATUS status) {
    return status == ERROR_SUCCESS
               ? Outcome::success()
               : Outcome::failure(system_error_text(static_cast<DWORD>(status)));
}

// A value that is not there is as good as deleted.
Outcome delete_value(const wchar_t* key, const std::wstring& name) {
    const LSTATUS status = RegDeleteKeyValueW(HKEY_CURRENT_USER, key, name.c_str());
    return status == ERROR_FILE_NOT_FOUND ? Outcome::success() : outcome_of(status);
}

// The bytes of the StartupApproved value, empty when there is none (or it is
// not the binary value Windows writes).
std::string approval(const std::wstring& name) {
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, approved_key, name.c_str(), RRF_RT_REG_BINARY, nullptr,
                     nullptr, &size) != ERROR_SUCCESS) {
        return {};
    }
    std::string bytes(size, '\0');
    if (RegGetValueW(HKEY_CURRENT_USER, approved_key, name.c_str(), RRF_RT_REG_BINARY, nullptr,
                     bytes.data(), &size) != ERROR_SUCCESS) {
        return {};
    }
    bytes.resize(size);
    return bytes;
}

}  // namespace

bool marked_disabled(std::string_view startup_approved_value) {
    return !startup_approved_value.empty() &&
           (static_cast<unsigned char>(startup_approved_value.front()) & 1U) != 0;
}

RunKeyStartupEntry::RunKeyStartupEntry(std::string_view instance, std::string_view program_path)
    : name_(L"ZV-KOB " + widen(instance)), command_(L"\"" + widen(program_path) + L"\"") {}

bool RunKeyStartupEntry::registered() {
    wchar_t value[2048] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, run_key, name_.c_str(), RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS) {
        return false;
    }
    return CompareStringOrdinal(value, -1, command_.c_str(), -1, TRUE) == CSTR_EQUAL &&
           !marked_disabled(approval(name_));
}

// The StartupApproved value is deleted rather than written as enabled: with
// none, Windows starts the entry, and ZV-KOB leaves nothing of its own under
// Explorer's key (Task Manager writes its value again when the user switches
// the entry there).
Outcome RunKeyStartupEntry::add() {
    if (const Outcome written = outcome_of(
            RegSetKeyValueW(HKEY_CURRENT_USER, run_key, name_.c_str(), REG_SZ, command_.c_str(),
                            static_cast<DWORD>((command_.size() + 1) * sizeof(wchar_t))));
        !written) {
        return written;
    }
    if (const Outcome enabled = delete_value(approved_key, name_); !enabled) {
        return Outcome::failure(
            "The entry is there, but Task Manager's Disabled mark for it "
            "could not be removed: " +
            enabled.reason());
    }
    return Outcome::success();
}

Outcome RunKeyStartupEntry::remove() {
    const Outcome removed = delete_value(run_key, name_);
    const Outcome unmarked = delete_value(approved_key, name_);
    return removed ? unmarked : removed;
}

}  // namespace zvkob::win32
