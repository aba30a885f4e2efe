#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/win32/owners.hpp"

namespace zvkob::win32 {

// Only one copy of ZV-KOB per instance name runs in a Windows session: two
// would share one section of the store, start the node twice, and the one
// closed last would overwrite what the other saved. Names differ only in
// case count as one, as file names do. The claim is a named mutex that the
// copy owns while its main window exists.
class OneCopyPerName {
public:
    // Claims the name. A copy that holds it but has no main window, or only
    // one marked as closing, is starting or closing: it is waited for, five
    // seconds at most, after which this copy opens as usual. A window hidden
    // in the notification area, or minimised, is a running copy.
    // `main_caption` is the main window's caption, by which a running copy's
    // window is found.
    OneCopyPerName(std::string_view instance, std::string_view main_caption);
    ~OneCopyPerName();
    OneCopyPerName(const OneCopyPerName&) = delete;
    OneCopyPerName& operator=(const OneCopyPerName&) = delete;

    // Whether this copy may open: no other copy of that name shows a window.
    bool only_copy() const { return running_copy_ == nullptr; }

    // Brings the running copy's window (or the window it shows over it) to the front.
    void bring_running_copy_forward() const;

    // This copy's main window will close: marked so before anything hides
    // it, it is never taken for a running copy; a copy started meanwhile
    // waits for this one to give way, and opens.
    static void closing(HWND main_window);

    // The main window is gone: a new copy may open at once, while this one
    // finishes writing its history.
    void give_way();

private:
    KernelHandle mutex_;
    bool owned_ = false;
    HWND running_copy_ = nullptr;
};

}  // namespace zvkob::win32
