#pragma once
#include <windows.h>

#include "platform/notifier.hpp"

namespace zvkob::win32 {

// A message box owned by the ZV-KOB window in front (the settings window
// while it is shown, else the main window), so that this window takes no
// input while it is open, even when another program is active.
class Win32Notifier : public Notifier {
public:
    void show_error(std::string_view message) override;
    bool ask(std::string_view question) override;
    void close_open_messages() override;

private:
    int show(std::string_view text, UINT kind);
};

}  // namespace zvkob::win32
