#pragma once
#include <windows.h>

#include <mutex>
#include <string>

#include "platform/win32/owners.hpp"

namespace zvkob::win32 {

// A library of Windows loaded from System32 the first time a feature needs
// it, not imported: a feature the user may never turn on then costs nothing
// at start, and never a DLL of that name lying beside the program is taken.
class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* name) : name_(name) {}

    // Loads it once, from whichever thread asks first; false with failure()
    // when Windows cannot.
    bool load();
    const std::string& failure() const { return failure_; }
    HMODULE module() const { return library_.get(); }

    // One of its functions, typed as declared by its header (decltype(&F)),
    // or null when this Windows lacks it.
    template <typename Function>
    Function function(const char* name) const {
        return reinterpret_cast<Function>(
            reinterpret_cast<void*>(GetProcAddress(library_.get(), name)));
    }

private:
    const wchar_t* name_;
    std::once_flag once_;
    Library library_;
    std::string failure_;
};

}  // namespace zvkob::win32
