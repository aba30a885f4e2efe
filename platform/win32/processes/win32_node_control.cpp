#include "platform/win32/processes/win32_node_control.hpp"

#include <windows.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <vector>

#include "platform/win32/owners.hpp"
#include "platform/win32/wide_text.hpp"
#include "platform/win32/processes/win32_held_process.hpp"

namespace zvkob::win32 {
namespace {

// NtQueryInformationProcess's class for a process's command line (Windows 8.1 on).
constexpr PROCESSINFOCLASS command_line_information = static_cast<PROCESSINFOCLASS>(60);

bool same_name(const wchar_t* a, std::wstring_view b) {
    return CompareStringOrdinal(a, -1, b.data(), static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The user a process runs for (a TOKEN_USER); empty when Windows will not say.
std::vector<unsigned char> token_user(HANDLE process) {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &opened)) {
        return {};
    }
    const KernelHandle token(opened);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> user(size);
    if (size == 0 || !GetTokenInformation(token.get(), TokenUser, user.data(), size, &size)) {
        return {};
    }
    return user;
}

PSID sid_of(std::vector<unsigned char>& user) {
    return reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
}

}  // namespace

// A snapshot of the process list: no query service, a few milliseconds.
ProcessList Win32NodeControl::processes_named(std::string_view image_name) {
    const std::wstring name = widen(image_name);
    const KernelHandle snapshot = file_handle(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return {{},
                "ZV-KOB could not list the running programs: " + system_error_text(GetLastError())};
    }
    ProcessList list;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (same_name(entry.szExeFile, name)) {
            list.processes.push_back({entry.th32ProcessID, entry.th32ParentProcessID});
        }
    }
    return list;
}

Holding Win32NodeControl::hold(unsigned long process_id) {
    KernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                     static_cast<DWORD>(process_id)));
    if (!process) {
        const DWORD error = GetLastError();
        if (error == ERROR_INVALID_PARAMETER) {
            return {nullptr, true, {}};  // no such process any more
        }
        return {nullptr, false, system_error_text(error)};
    }
    if (WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) {
        return {nullptr, true, {}};  // ended between being listed and being opened
    }
    auto held =
        std::make_shared<Win32HeldProcess>(std::move(process), static_cast<DWORD>(process_id));
    return {std::move(held), false, {}};
}

// Another session's process (another sign-in, a service) or another user's
// is never this copy's node, whatever its command line says.
ProcessOwner Win32NodeControl::owner(unsigned long process_id) {
    DWORD session = 0;
    DWORD own_session = 0;
    if (!ProcessIdToSessionId(static_cast<DWORD>(process_id), &session) ||
        !ProcessIdToSessionId(GetCurrentProcessId(), &own_session)) {
        return ProcessOwner::unknown;
    }
    if (session != own_session) {
        return ProcessOwner::another_session;
    }
    static std::vector<unsigned char> own = token_user(GetCurrentProcess());
    const KernelHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process_id)));
    std::vector<unsigned char> theirs =
        process ? token_user(process.get()) : std::vector<unsigned char>();
    if (own.empty() || theirs.empty()) {
        return ProcessOwner::unknown;
    }
    return EqualSid(sid_of(own), sid_of(theirs)) ? ProcessOwner::this_user_here
                                                 : ProcessOwner::another_user;
}

// Windows 8.1 and later show it to a process of the same user; wine shows none.
std::optional<std::string> Win32NodeControl::command_line(unsigned long process_id) {
    using Query = LONG(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    static const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    const KernelHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process_id)));
    if (query == nullptr || !process) {
        return std::nullopt;
    }
    std::vector<unsigned char> buffer(4096);
    ULONG needed = 0;
    LONG status = query(process.get(), command_line_information, buffer.data(),
                        static_cast<ULONG>(buffer.size()), &needed);
    if (status < 0 && needed > buffer.size()) {
        buffer.resize(needed);
        status = query(process.get(), command_line_information, buffer.data(),
                       static_cast<ULONG>(buffer.size()), &needed);
    }
    if (status < 0) {
        return std::nullopt;
    }
    const auto* text = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
    return narrow(std::wstring_view(text->Buffer, text->Length / sizeof(wchar_t)));
}

}  // namespace zvkob::win32
