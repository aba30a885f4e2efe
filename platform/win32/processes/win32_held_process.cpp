#include "platform/win32/processes/win32_held_process.hpp"

#include "platform/win32/win32_clock.hpp"

namespace zvkob::win32 {

Win32HeldProcess::Win32HeldProcess(KernelHandle process, DWORD id, HeldSince since)
    : process_(std::move(process)), id_(id), since_(since) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (GetProcessTimes(process_.get(), &created, &exited, &kernel, &user)) {
        created_ms_ = milliseconds_of(created);
    }
}

// Ended means the handle is signalled; the exit time comes with it.
std::optional<ProcessEnd> Win32HeldProcess::end() {
    DWORD code = 0;
    if (WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_.get(), &code)) {
        return std::nullopt;
    }
    FILETIME created{}, exited{}, kernel{}, user{};
    std::int64_t at_ms = created_ms_;
    if (GetProcessTimes(process_.get(), &created, &exited, &kernel, &user)) {
        at_ms = milliseconds_of(exited);
    }
    return ProcessEnd{code, at_ms};
}

}  // namespace zvkob::win32
