#include "platform/win32/registry_settings_store.hpp"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/win32/owners.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

// The text of a string, without the terminating nulls the registry may hold.
std::wstring string_data(const std::vector<BYTE>& data) {
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

std::wstring expanded(const std::wstring& text) {
    const DWORD length = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    std::wstring result(length, L'\0');
    if (length == 0 || ExpandEnvironmentStringsW(text.c_str(), result.data(), length) == 0) {
        return text;
    }
    result.resize(length - 1);
    return result;
}

template <typename Integer>
std::optional<std::string> integer_data(const std::vector<BYTE>& data) {
    if (data.size() < sizeof(Integer)) {
        return std::nullopt;
    }
    Integer number{};
    std::memcpy(&number, data.data(), sizeof number);
    return std::to_string(number);
}

// A value as text, whatever its type: a string as it is, an expandable string
// expanded, the first of several strings, a number in decimal (a hand-edited
// tick or position). Nothing when it is missing or of another type.
std::optional<std::string> read_value(HKEY section, const std::wstring& name) {
    DWORD type = 0;
    std::vector<BYTE> data;
    for (;;) {
        DWORD bytes = static_cast<DWORD>(data.size());
        const LSTATUS status = RegQueryValueExW(section, name.c_str(), nullptr, &type,
                                                data.empty() ? nullptr : data.data(), &bytes);
        if (status == ERROR_SUCCESS && (!data.empty() || bytes == 0)) {
            data.resize(bytes);
            break;
        }
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) {
            return std::nullopt;
        }
        data.resize(bytes + sizeof(wchar_t));  // room for a null the value may lack
    }
    switch (type) {
        case REG_SZ:
        case REG_MULTI_SZ:
            return narrow(string_data(data));
        case REG_EXPAND_SZ:
            return narrow(expanded(string_data(data)));
        case REG_DWORD:
            return integer_data<std::int32_t>(data);
        case REG_QWORD:
            return integer_data<std::int64_t>(data);
        default:
            return std::nullopt;
    }
}

}  // namespace

RegistrySettingsStore::RegistrySettingsStore(std::string_view application, std::string_view section)
    : path_(section_path(application, section)) {}

std::wstring RegistrySettingsStore::section_path(std::string_view application,
                                                 std::string_view section) {
    return L"Software\\VB and VBA Program Settings\\" + widen(application) + L"\\" + widen(section);
}

std::string RegistrySettingsStore::get(std::string_view key, std::string_view default_text) {
    RegistryKey section;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_QUERY_VALUE, section.receive()) !=
        ERROR_SUCCESS) {
        return std::string(default_text);
    }
    const auto value = read_value(section.get(), widen(key));
    return value ? *value : std::string(default_text);
}

bool RegistrySettingsStore::has(std::string_view key) {
    return RegGetValueW(HKEY_CURRENT_USER, path_.c_str(), widen(key).c_str(), RRF_RT_ANY, nullptr,
                        nullptr, nullptr) == ERROR_SUCCESS;
}

Outcome RegistrySettingsStore::save(std::string_view key, std::string_view text) {
    RegistryKey section;
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
