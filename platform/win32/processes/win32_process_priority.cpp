#include "platform/win32/processes/win32_process_priority.hpp"

#include <cstdio>

#include "platform/win32/system_library.hpp"
#include "platform/win32/wide_text.hpp"
#include "platform/win32/win32_clock.hpp"

namespace zvkob::win32 {
namespace {

constexpr auto not_implemented = static_cast<NTSTATUS>(0xC0000002);

SystemLibrary& ntdll() {
    static SystemLibrary library(L"ntdll.dll");
    library.load();
    return library;
}

// Wine 8 answers "not implemented" to setting an I/O priority.
std::string status_text(NTSTATUS status) {
    char text[80];
    std::snprintf(text, sizeof text, "%s 0x%08lX",
                  status == not_implemented ? "this system does not offer it, answering"
                                            : "the system answered",
                  static_cast<unsigned long>(status));
    return text;
}

}  // namespace

PriorityFunctions system_priority_functions() {
    PriorityFunctions functions;
    functions.open_process = OpenProcess;
    functions.process_times = GetProcessTimes;
    functions.set_class = SetPriorityClass;
    functions.set_information = ntdll().function<SetInformationProcess>("NtSetInformationProcess");
    functions.close_handle = CloseHandle;
    return functions;
}

PrioritySet Win32ProcessPriority::set(const HeldProcess& process, NodePriority priority) {
    const HANDLE handle =
        functions_.open_process(PROCESS_SET_INFORMATION | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                static_cast<DWORD>(process.id()));
    if (handle == nullptr) {
        const Outcome failed = Outcome::failure(system_error_text(GetLastError()));
        return {failed, failed};
    }
    FILETIME created{}, exited{}, kernel{}, user{};
    const bool same = functions_.process_times(handle, &created, &exited, &kernel, &user) &&
                      milliseconds_of(created) == process.created_ms();
    PrioritySet set;
    if (!same) {
        set.cpu = set.io = Outcome::failure("the process has ended");
    } else {
        const bool low = priority == NodePriority::low;
        if (!functions_.set_class(handle,
                                  low ? BELOW_NORMAL_PRIORITY_CLASS : NORMAL_PRIORITY_CLASS)) {
            set.cpu = Outcome::failure(system_error_text(GetLastError()));
        }
        ULONG io = low ? io_priority_low : io_priority_normal;
        const NTSTATUS status =
            functions_.set_information == nullptr
                ? not_implemented
                : functions_.set_information(handle, process_io_priority, &io, sizeof io);
        if (!NT_SUCCESS(status)) {
            set.io = Outcome::failure(status_text(status));
        }
    }
    functions_.close_handle(handle);
    return set;
}

PriorityReading read_priority(DWORD process_id) {
    PriorityReading reading;
    const KernelHandle process(OpenProcess(
        PROCESS_QUERY_INFORMATION | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
    if (!process) {
        reading.failure = system_error_text(GetLastError());
        return reading;
    }
    reading.priority_class = GetPriorityClass(process.get());
    const auto query = ntdll().function<QueryInformationProcess>("NtQueryInformationProcess");
    ULONG io = 0;
    const NTSTATUS status =
        query == nullptr ? not_implemented
                         : query(process.get(), process_io_priority, &io, sizeof io, nullptr);
    if (NT_SUCCESS(status)) {
        reading.io_priority = io;
    } else {
        reading.failure = "I/O priority: " + status_text(status);
    }
    return reading;
}

}  // namespace zvkob::win32
