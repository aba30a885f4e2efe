#pragma once
#include "platform/notifier.hpp"

namespace zvkob::win32 {

// A message box over the program's active window.
class Win32Notifier : public Notifier {
public:
    void show_error(std::string_view message) override;
};

}  // namespace zvkob::win32
