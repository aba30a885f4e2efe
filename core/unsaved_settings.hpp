#pragma once
#include <string>

#include "core/outcome.hpp"
#include "core/setting_keys.hpp"

namespace zvkob {

// Collects the outcomes of a run of saves, so that every key is attempted
// and one message names all that could not be saved.
class UnsavedSettings {
public:
    void note(const SettingKey& key, const Outcome& saved);
    bool none() const { return names_.empty(); }
    Outcome outcome() const;

private:
    std::string names_;
    std::string reason_;
};

}  // namespace zvkob
