#include "platform/win32/registry_settings_store.hpp"

#include <windows.h>

#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

// Closes a registry key when it goes out of scope.
class OpenKey {
public:
    OpenKey() = default;
    ~OpenKey() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY* receive() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

RegistrySettingsStore::RegistrySettingsStore(std::string_view application, std::string_view section)
    : path_(section_path(application, section)) {}

std::wstring RegistrySettingsStore::section_path(std::string_view application,
                                                 std::string_view section) {
    return L"Software\\VB and VBA Program Settings\\" + widen(application) + L"\\" + widen(section);
}

std::string RegistrySettingsStore::get(std::string_view key, std::string_view default_text) {
    OpenKey section;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_QUERY_VALUE, section.receive()) !=
        ERROR_SUCCESS) {
        return std::string(default_text);
    }
    const std::wstring name = widen(key);
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(section.get(), name.c_str(), nullptr, &type, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::string(default_text);
    }
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(section.get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(value.data()), &bytes) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::string(default_text);
    }
    value.resize(bytes / sizeof(wchar_t));
    while (!value.empty() && value.back() == L'\0') {
        value.pop_back();
    }
    return narrow(value);
}

Outcome RegistrySettingsStore::save(std::string_view key, std::string_view text) {
    OpenKey section;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, section.receive(), nullptr);
    if (status == ERROR_SUCCESS) {
        const std::wstring value = widen(text);
        status = RegSetValueExW(section.get(), widen(key).c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    if (status != ERROR_SUCCESS) {
        return Outcome::failure(system_error_text(static_cast<DWORD>(status)));
    }
    return Outcome::success();
}

}  // namespace zvkob::win32
