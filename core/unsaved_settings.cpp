#include "core/unsaved_settings.hpp"

namespace zvkob {

void UnsavedSettings::note(const SettingKey& key, const Outcome& saved) {
    if (saved) {
        return;
    }
    names_ += (names_.empty() ? "" : ", ") + std::string(key.name);
    reason_ = saved.reason();
}

Outcome UnsavedSettings::outcome() const {
    if (none()) {
        return Outcome::success();
    }
    return Outcome::failure("ZV-KOB could not save these settings: " + names_ + ".\n\n" + reason_);
}

}  // namespace zvkob
