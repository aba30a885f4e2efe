#include "platform/win32/processes/com_apartment.hpp"

namespace zvkob::win32 {

ComApartment::ComApartment() {
    initialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (initialised_) {
        // Lets the management service identify the caller; it may fail if set before, which is
        // fine.
        CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                             RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    }
}

ComApartment::~ComApartment() {
    if (initialised_) {
        CoUninitialize();
    }
}

}  // namespace zvkob::win32
