#include "guardian/countdown_state.hpp"

#include <cstdio>

namespace zvkob {

// Whole seconds, rounded as the display always has: to the nearest.
std::string countdown_text(std::chrono::milliseconds remaining) {
    const long long total =
        std::chrono::round<std::chrono::seconds>(std::chrono::abs(remaining)).count();
    char text[24];
    if (remaining.count() > 0 && total >= 60) {
        std::snprintf(text, sizeof text, "%lld:%02lld", total / 60, total % 60);
    } else {
        std::snprintf(text, sizeof text, "%02lld", total % 60);
    }
    return text;
}

}  // namespace zvkob
