#pragma once
#include <windows.h>
#include <winternl.h>

#include <optional>
#include <string>

#include "platform/process_priority.hpp"
#include "platform/win32/owners.hpp"

namespace zvkob::win32 {

// ProcessIoPriority of the process information classes, and its values.
inline constexpr auto process_io_priority = static_cast<PROCESSINFOCLASS>(33);
inline constexpr ULONG io_priority_low = 1;
inline constexpr ULONG io_priority_normal = 2;

using SetInformationProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG);
using QueryInformationProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

// The calls that set a process's priority; the I/O ones come from ntdll at
// run time (it documents no import for them). A test hands in its own.
struct PriorityFunctions {
    decltype(&OpenProcess) open_process = nullptr;
    decltype(&GetProcessTimes) process_times = nullptr;
    decltype(&SetPriorityClass) set_class = nullptr;
    SetInformationProcess set_information = nullptr;  // null where ntdll lacks it
    decltype(&CloseHandle) close_handle = nullptr;
};

PriorityFunctions system_priority_functions();

// What a process's priority is now, read back.
struct PriorityReading {
    DWORD priority_class = 0;  // 0 when it could not be read
    std::optional<ULONG> io_priority;
    std::string failure;  // why a part could not be read
};

// Sets the CPU priority class (BELOW_NORMAL_PRIORITY_CLASS, or back to
// NORMAL_PRIORITY_CLASS) and the I/O priority (low, or back to normal) of a
// held process, through a handle opened for it alone (PROCESS_SET_INFORMATION
// | PROCESS_QUERY_LIMITED_INFORMATION) and checked to be the very process
// held: one that took its number since has another creation time.
class Win32ProcessPriority : public ProcessPriority {
public:
    explicit Win32ProcessPriority(PriorityFunctions functions = system_priority_functions())
        : functions_(functions) {}

    PrioritySet set(const HeldProcess& process, NodePriority priority) override;

private:
    PriorityFunctions functions_;
};

// Reads a process's priority class (GetPriorityClass) and I/O priority
// (NtQueryInformationProcess), for tests and checks.
PriorityReading read_priority(DWORD process_id);

}  // namespace zvkob::win32
