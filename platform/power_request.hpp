#pragma once
#include <string>
#include <string_view>

namespace zvkob {

// How the PC is kept awake, for the history.
enum class AwakeMeans {
    none,
    power_request,  // a power request with its reason, shown by powercfg /requests
    thread_state,   // the window thread's execution state, where power requests are missing
};

struct AwakeHold {
    AwakeMeans means = AwakeMeans::none;
    std::string failure;  // why it could not be held, when means is none
};

// How it was held, for the history: "by a power request".
inline std::string awake_means_words(AwakeMeans means) {
    switch (means) {
        case AwakeMeans::power_request:
            return "by a power request";
        case AwakeMeans::thread_state:
            return "by the window thread's execution state: this Windows has no power requests";
        default:
            return "not at all";
    }
}

// Keeps the PC from sleeping (never the display on) while held; let go in
// its destructor. Held and let go on the window's thread.
class PowerRequest {
public:
    virtual ~PowerRequest() = default;
    // Holds it with this reason. Holding again with the same reason changes
    // nothing; with another reason it replaces the request, the new one set
    // before the old one is cleared.
    virtual AwakeHold hold(std::string_view reason) = 0;
    // Lets go; nothing when not held.
    virtual void let_go() = 0;
    virtual bool holding() const = 0;
};

}  // namespace zvkob
