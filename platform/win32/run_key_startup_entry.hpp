#pragma once
#include <string>

#include "platform/startup_entry.hpp"

namespace zvkob::win32 {

// The value "ZV-KOB <instance>" under
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run, holding
// the full path of this program file in double quotes.
class RunKeyStartupEntry : public StartupEntry {
public:
    RunKeyStartupEntry(std::string_view instance, std::string_view program_path);

    bool registered() override;
    Outcome add() override;
    Outcome remove() override;

private:
    std::wstring name_;
    std::wstring command_;
};

}  // namespace zvkob::win32
