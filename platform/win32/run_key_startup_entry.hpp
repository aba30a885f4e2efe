#pragma once
#include <string>
#include <string_view>

#include "platform/startup_entry.hpp"

namespace zvkob::win32 {

// The value "ZV-KOB <instance>" under
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run, holding
// the full path of this program file in double quotes. Task Manager's
// Startup tab (and Windows' Startup apps settings) can switch it off without
// touching it, by a value of the same name under
// ...\CurrentVersion\Explorer\StartupApproved\Run: then Windows does not
// start it, and it does not count as registered.
class RunKeyStartupEntry : public StartupEntry {
public:
    RunKeyStartupEntry(std::string_view instance, std::string_view program_path);

    bool registered() override;
    // Writes the Run value and deletes any StartupApproved value for it.
    Outcome add() override;
    // Deletes both values.
    Outcome remove() override;

private:
    std::wstring name_;
    std::wstring command_;
};

// Whether a StartupApproved value (its bytes, empty when there is none) says
// the entry is disabled: the lowest bit of its first byte (0x03, 0x07, ...);
// 0x02, 0x06 and no value at all mean Windows starts it.
bool marked_disabled(std::string_view startup_approved_value);

}  // namespace zvkob::win32
