#pragma once
#include <windows.h>

#include <functional>

#include "platform/notifier.hpp"

namespace zvkob::win32 {

// A message box owned by the ZV-KOB window it concerns, so that this window
// takes no input while it is open, even when another program is active.
class Win32Notifier : public Notifier {
public:
    // `owner` gives the window's handle when a message is shown.
    explicit Win32Notifier(std::function<HWND()> owner) : owner_(std::move(owner)) {}
    void show_error(std::string_view message) override;
    bool ask(std::string_view question) override;
    void close_open_messages() override;

private:
    int show(std::string_view text, UINT kind);

    std::function<HWND()> owner_;
};

}  // namespace zvkob::win32
