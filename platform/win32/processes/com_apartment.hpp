#pragma once
#include <objbase.h>

namespace zvkob::win32 {

// COM for the user-interface thread: a single-threaded apartment, the kind
// the shell (History... opens the file through it) and window code expect.
// While a process query waits for Windows' management service, COM may
// deliver some of the thread's window messages; the event gate decides what
// may run then.
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
