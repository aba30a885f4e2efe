#pragma once
#include <objbase.h>

namespace zvkob::win32 {

// COM for the user-interface thread. The multithreaded apartment keeps a
// process query from pumping window messages while it waits, so no timer tick
// can run inside another.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_ = false;
};

}  // namespace zvkob::win32
