#pragma once
#include "platform/pause.hpp"

namespace zvkob::win32 {

// Paints every window of the program, then sleeps: the window is frozen for
// the pause, but shows what was set just before it. What the user clicked or
// typed meanwhile is dropped.
class Win32Pause : public Pause {
public:
    void pause(int milliseconds) override;
};

}  // namespace zvkob::win32
