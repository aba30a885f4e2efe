#pragma once
#include <string>

#include "platform/settings_store.hpp"

namespace zvkob::win32 {

// Settings as REG_SZ values under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>.
// A value someone stored by hand as a number, an expandable string or a list
// of strings is read as its text rather than taken for missing.
class RegistrySettingsStore : public SettingsStore {
public:
    RegistrySettingsStore(std::string_view application, std::string_view section);

    std::string get(std::string_view key, std::string_view default_text) override;
    bool has(std::string_view key) override;
    Outcome save(std::string_view key, std::string_view text) override;

    static std::wstring section_path(std::string_view application, std::string_view section);

private:
    std::wstring path_;
};

}  // namespace zvkob::win32
