#include "platform/win32/system_library.hpp"

#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {

bool SystemLibrary::load() {
    std::call_once(once_, [this] {
        library_ = Library(LoadLibraryExW(name_, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
        if (!library_) {
            failure_ = "Windows could not load " + narrow(name_) + ": " +
                       system_error_text(GetLastError());
        }
    });
    return static_cast<bool>(library_);
}

}  // namespace zvkob::win32
