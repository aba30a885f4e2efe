#include "platform/win32/service/channel_pipe.hpp"

#include <sddl.h>

#include "core/service/channel_messages.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

constexpr DWORD answer_wait_ms = 2000;

// Waits for an overlapped call on `handle`, or for `stop`; whether it ended well.
bool finished(HANDLE handle, OVERLAPPED& pending, BOOL started, HANDLE stop, DWORD wait_ms,
              DWORD& bytes) {
    if (!started && GetLastError() != ERROR_IO_PENDING) {
        return GetLastError() == ERROR_PIPE_CONNECTED;
    }
    const HANDLE waits[] = {pending.hEvent, stop};
    const DWORD woken = WaitForMultipleObjects(stop ? 2 : 1, waits, FALSE, wait_ms);
    if (woken != WAIT_OBJECT_0) {
        CancelIoEx(handle, &pending);
        GetOverlappedResult(handle, &pending, &bytes, TRUE);
        return false;
    }
    return GetOverlappedResult(handle, &pending, &bytes, FALSE) != FALSE;
}

struct Overlapped {
    OVERLAPPED call{};
    KernelHandle event{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    Overlapped() { call.hEvent = event.get(); }
};

}  // namespace

std::wstring channel_pipe_name(std::string_view service_name) {
    return L"\\\\.\\pipe\\" + widen(service_name);
}

std::string channel_security(std::string_view user_sid) {
    return "D:P(D;;GA;;;NU)(A;;GA;;;" + std::string(user_sid) + ")";
}

ChannelServer::ChannelServer(std::string_view service_name, std::string_view user_sid,
                             Answer answer)
    : stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), answer_(std::move(answer)) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            widen(channel_security(user_sid)).c_str(), SDDL_REVISION_1, &descriptor, nullptr)) {
        failure_ = system_error_text(GetLastError());
        return;
    }
    SECURITY_ATTRIBUTES security{sizeof security, descriptor, FALSE};
    pipe_ = file_handle(CreateNamedPipeW(channel_pipe_name(service_name).c_str(), channel_open_mode,
                                         channel_pipe_mode, 1, longest_answer, longest_request, 0,
                                         &security));
    const DWORD error = GetLastError();
    LocalFree(descriptor);
    if (!pipe_) {
        failure_ = system_error_text(error);
        return;
    }
    thread_ = std::thread([this] { serve(); });
}

ChannelServer::~ChannelServer() {
    SetEvent(stop_.get());
    if (thread_.joinable()) {
        thread_.join();
    }
}

void ChannelServer::serve() {
    while (WaitForSingleObject(stop_.get(), 0) == WAIT_TIMEOUT) {
        Overlapped connect;
        DWORD bytes = 0;
        if (finished(pipe_.get(), connect.call, ConnectNamedPipe(pipe_.get(), &connect.call),
                     stop_.get(), INFINITE, bytes)) {
            answer_one();
        }
        DisconnectNamedPipe(pipe_.get());
    }
}

// A request longer than its limit is read no further, and refused.
void ChannelServer::answer_one() {
    std::string request(longest_request + 1, '\0');
    Overlapped read;
    DWORD bytes = 0;
    const BOOL started = ReadFile(pipe_.get(), request.data(), static_cast<DWORD>(request.size()),
                                  nullptr, &read.call);
    const bool whole = finished(pipe_.get(), read.call, started, stop_.get(), answer_wait_ms, bytes);
    request.resize(bytes);
    const std::string answer = whole ? answer_(request) : std::string(refused_answer);
    Overlapped write;
    const BOOL writing = WriteFile(pipe_.get(), answer.data(), static_cast<DWORD>(answer.size()),
                                   nullptr, &write.call);
    finished(pipe_.get(), write.call, writing, stop_.get(), answer_wait_ms, bytes);
    FlushFileBuffers(pipe_.get());
}

std::optional<std::string> ask_channel(std::string_view service_name, unsigned long server_id,
                                       std::string_view request) {
    // Identification only: the service may learn who asks, never act as the window.
    const std::wstring name = channel_pipe_name(service_name);
    const auto open = [&name] {
        return file_handle(CreateFileW(
            name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
            FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr));
    };
    KernelHandle pipe = open();
    // The service answers one window at a time: busy, it is waited for a moment.
    if (!pipe && GetLastError() == ERROR_PIPE_BUSY && WaitNamedPipeW(name.c_str(), answer_wait_ms)) {
        pipe = open();
    }
    ULONG server = 0;
    if (!pipe || !GetNamedPipeServerProcessId(pipe.get(), &server) || server != server_id) {
        return std::nullopt;
    }
    DWORD mode = PIPE_READMODE_MESSAGE;
    SetNamedPipeHandleState(pipe.get(), &mode, nullptr, nullptr);
    DWORD bytes = 0;
    Overlapped write;
    if (!finished(pipe.get(), write.call,
                  WriteFile(pipe.get(), request.data(), static_cast<DWORD>(request.size()), nullptr,
                            &write.call),
                  nullptr, answer_wait_ms, bytes)) {
        return std::nullopt;
    }
    std::string answer(longest_answer, '\0');
    Overlapped read;
    if (!finished(pipe.get(), read.call,
                  ReadFile(pipe.get(), answer.data(), static_cast<DWORD>(answer.size()), nullptr,
                           &read.call),
                  nullptr, answer_wait_ms, bytes)) {
        return std::nullopt;
    }
    answer.resize(bytes);
    return answer;
}

}  // namespace zvkob::win32
