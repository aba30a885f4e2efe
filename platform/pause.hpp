#pragma once

namespace zvkob {

// Suspends the user-interface thread. What the windows show is painted first,
// so a colour set just before the pause is on screen during it.
class Pause {
public:
    virtual ~Pause() = default;
    virtual void pause(int milliseconds) = 0;
};

}  // namespace zvkob
