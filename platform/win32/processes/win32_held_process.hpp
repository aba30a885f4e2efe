#pragma once
#include <windows.h>

#include "platform/held_process.hpp"
#include "platform/win32/owners.hpp"

namespace zvkob::win32 {

// How ZV-KOB came to hold a process.
enum class HeldSince {
    opened,   // opened by its number to be followed (SYNCHRONIZE, query only)
    started,  // ZV-KOB started it and holds the handle creating it gave, with every right
};

// A process held by an open handle (at least SYNCHRONIZE and
// PROCESS_QUERY_LIMITED_INFORMATION): the handle keeps it this very process
// however process numbers are reused, and says when it ended and how.
class Win32HeldProcess : public HeldProcess {
public:
    Win32HeldProcess(KernelHandle process, DWORD id, HeldSince since = HeldSince::opened);

    unsigned long id() const override { return id_; }
    std::int64_t created_ms() const override { return created_ms_; }
    std::optional<ProcessEnd> end() override;

    HANDLE handle() const { return process_.get(); }
    bool started_by_zvkob() const { return since_ == HeldSince::started; }

private:
    KernelHandle process_;
    DWORD id_;
    HeldSince since_;
    std::int64_t created_ms_ = 0;
};

}  // namespace zvkob::win32
