#pragma once
#include <string>
#include <string_view>

#include "core/outcome.hpp"

namespace zvkob {

// The per-user settings store of one instance: every value is text, addressed
// by a key within the application "ZV-KOB" and the section of this instance.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored text, or default_text when the key (or the section) is missing.
    virtual std::string get(std::string_view key, std::string_view default_text) = 0;

    // Whether a value is stored under the key.
    virtual bool has(std::string_view key) = 0;

    // Creates or replaces the value, creating the application and section when missing.
    virtual Outcome save(std::string_view key, std::string_view text) = 0;
};

inline constexpr std::string_view application_name = "ZV-KOB";

}  // namespace zvkob
