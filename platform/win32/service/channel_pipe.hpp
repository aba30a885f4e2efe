#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "platform/win32/owners.hpp"

namespace zvkob::win32 {

// The service's channel: a named pipe only the user can open.
// Its name follows the service's, so each copy's service has its own.
std::wstring channel_pipe_name(std::string_view service_name);
// Only the user's SID is let in (the service runs as that user too), anyone
// logged on over the network is shut out, and the list cannot be widened by
// inheritance: "D:P(D;;GA;;;NU)(A;;GA;;;<SID>)".
std::string channel_security(std::string_view user_sid);
// A pipe of messages, created as the first instance (a squatter that made
// the name first makes the creation fail), that turns remote clients away.
inline constexpr DWORD channel_open_mode =
    PIPE_ACCESS_DUPLEX | FILE_FLAG_FIRST_PIPE_INSTANCE | FILE_FLAG_OVERLAPPED;
inline constexpr DWORD channel_pipe_mode =
    PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS;

// The service's end: one client at a time, each request answered by
// `answer` (called on this thread; it hands the request to the guard's
// thread and waits), until it goes.
class ChannelServer {
public:
    using Answer = std::function<std::string(const std::string& request)>;
    ChannelServer(std::string_view service_name, std::string_view user_sid, Answer answer);
    ~ChannelServer();
    ChannelServer(const ChannelServer&) = delete;
    ChannelServer& operator=(const ChannelServer&) = delete;

    // Why the pipe could not be made, or empty.
    const std::string& failure() const { return failure_; }

private:
    void serve();
    void answer_one();

    KernelHandle pipe_;
    KernelHandle stop_;
    Answer answer_;
    std::string failure_;
    std::thread thread_;
};

// The window's end: asks the service whose process is `server_id`, and
// gives its answer, or nothing when the pipe is not there, its server is
// another process, or no answer came within two seconds.
std::optional<std::string> ask_channel(std::string_view service_name, unsigned long server_id,
                                       std::string_view request);

}  // namespace zvkob::win32
