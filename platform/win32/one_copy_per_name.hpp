#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace zvkob::win32 {

// Only one copy of ZV-KOB per instance name runs in a Windows session: two
// would share one section of the store, start the node twice, and the one
// closed last would overwrite what the other saved. Names differ only in
// case count as one, as file names do.
class OneCopyPerName {
public:
    explicit OneCopyPerName(std::string_view instance);
    ~OneCopyPerName();
    OneCopyPerName(const OneCopyPerName&) = delete;
    OneCopyPerName& operator=(const OneCopyPerName&) = delete;

    // Whether this is the only copy of that name.
    bool only_copy() const { return only_; }

    // Brings the running copy's window (or the window it shows over it) to
    // the front, waiting a moment for a copy that is still starting.
    void bring_running_copy_forward() const;

private:
    std::string instance_;
    HANDLE mutex_ = nullptr;
    bool only_ = true;
};

}  // namespace zvkob::win32
