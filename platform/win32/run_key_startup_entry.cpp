#include "platform/win32/run_key_startup_entry.hpp"

#include <windows.h>

#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

constexpr wchar_t run_key[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

Outcome outcome_of(LSTATUS status) {
    return status == ERROR_SUCCESS
               ? Outcome::success()
               : Outcome::failure(system_error_text(static_cast<DWORD>(status)));
}

}  // namespace

RunKeyStartupEntry::RunKeyStartupEntry(std::string_view instance, std::string_view program_path)
    : name_(L"ZV-KOB " + widen(instance)), command_(L"\"" + widen(program_path) + L"\"") {}

bool RunKeyStartupEntry::registered() {
    wchar_t value[2048] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, run_key, name_.c_str(), RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS) {
        return false;
    }
    return CompareStringOrdinal(value, -1, command_.c_str(), -1, TRUE) == CSTR_EQUAL;
}

Outcome RunKeyStartupEntry::add() {
    return outcome_of(RegSetKeyValueW(HKEY_CURRENT_USER, run_key, name_.c_str(), REG_SZ,
                                      command_.c_str(),
                                      static_cast<DWORD>((command_.size() + 1) * sizeof(wchar_t))));
}

Outcome RunKeyStartupEntry::remove() {
    const LSTATUS status = RegDeleteKeyValueW(HKEY_CURRENT_USER, run_key, name_.c_str());
    return status == ERROR_FILE_NOT_FOUND ? Outcome::success() : outcome_of(status);
}

}  // namespace zvkob::win32
