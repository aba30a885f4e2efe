#pragma once
#include <windows.h>
#include <winhttp.h>

#include <mutex>
#include <string>
#include <utility>

#include "platform/win32/system_library.hpp"

namespace zvkob::win32 {

// The WinHTTP functions the node's RPC needs, loaded the first time it is
// asked: a copy whose node has no RPC, or that never shows its progress,
// never loads WinHTTP (nor the network libraries it pulls in).
class WinHttpFunctions {
public:
    // Loads them once, from whichever thread asks first; false with failure() when it cannot.
    bool loaded();
    const std::string& failure() const { return failure_; }

    // WinHTTP's own words for its errors (12001 and up), the system's for the others.
    std::string error_text(DWORD error) const;

    decltype(&WinHttpOpen) open = nullptr;
    decltype(&WinHttpConnect) connect = nullptr;
    decltype(&WinHttpOpenRequest) open_request = nullptr;
    decltype(&WinHttpSetTimeouts) set_timeouts = nullptr;
    decltype(&WinHttpSetOption) set_option = nullptr;
    decltype(&WinHttpSendRequest) send_request = nullptr;
    decltype(&WinHttpReceiveResponse) receive_response = nullptr;
    decltype(&WinHttpQueryHeaders) query_headers = nullptr;
    decltype(&WinHttpReadData) read_data = nullptr;
    decltype(&WinHttpCloseHandle) close_handle = nullptr;

private:
    SystemLibrary winhttp_{L"winhttp.dll"};
    std::once_flag once_;
    bool complete_ = false;
    std::string failure_;
};

// A WinHTTP handle (session, connection or request), closed once.
class InternetHandle {
public:
    InternetHandle(const WinHttpFunctions& functions, HINTERNET handle)
        : close_(functions.close_handle), handle_(handle) {}
    ~InternetHandle() {
        if (handle_ != nullptr) {
            close_(handle_);
        }
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;

    HINTERNET get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    decltype(&WinHttpCloseHandle) close_;
    HINTERNET handle_;
};

}  // namespace zvkob::win32
