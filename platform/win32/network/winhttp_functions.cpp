#include "platform/win32/network/winhttp_functions.hpp"

#include "platform/win32/owners.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

// Words for the errors a call to the loopback meets, where winhttp.dll has
// none of its own (wine's has no message table).
const char* own_words(DWORD error) {
    switch (error) {
        case ERROR_WINHTTP_TIMEOUT:
            return "the request timed out";
        case ERROR_WINHTTP_CANNOT_CONNECT:
            return "no connection could be made";
        case ERROR_WINHTTP_CONNECTION_ERROR:
            return "the connection was reset";
        case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
            return "the reply is not HTTP";
        default:
            return nullptr;
    }
}

}  // namespace

bool WinHttpFunctions::loaded() {
    std::call_once(once_, [this] {
        if (!winhttp_.load()) {
            failure_ = winhttp_.failure();
            return;
        }
        open = winhttp_.function<decltype(open)>("WinHttpOpen");
        connect = winhttp_.function<decltype(connect)>("WinHttpConnect");
        open_request = winhttp_.function<decltype(open_request)>("WinHttpOpenRequest");
        set_timeouts = winhttp_.function<decltype(set_timeouts)>("WinHttpSetTimeouts");
        set_option = winhttp_.function<decltype(set_option)>("WinHttpSetOption");
        send_request = winhttp_.function<decltype(send_request)>("WinHttpSendRequest");
        receive_response = winhttp_.function<decltype(receive_response)>("WinHttpReceiveResponse");
        query_headers = winhttp_.function<decltype(query_headers)>("WinHttpQueryHeaders");
        read_data = winhttp_.function<decltype(read_data)>("WinHttpReadData");
        close_handle = winhttp_.function<decltype(close_handle)>("WinHttpCloseHandle");
        complete_ = open && connect && open_request && set_timeouts && set_option && send_request &&
                    receive_response && query_headers && read_data && close_handle;
        if (!complete_) {
            failure_ = "This Windows's winhttp.dll lacks functions ZV-KOB needs.";
        }
    });
    return complete_;
}

std::string WinHttpFunctions::error_text(DWORD error) const {
    if (error < WINHTTP_ERROR_BASE || error > WINHTTP_ERROR_LAST || winhttp_.module() == nullptr) {
        return system_error_text(error);
    }
    LocalMemory<wchar_t> buffer;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE |
            FORMAT_MESSAGE_IGNORE_INSERTS,
        winhttp_.module(), error, 0, reinterpret_cast<wchar_t*>(buffer.receive()), 0, nullptr);
    std::wstring text = length > 0 ? std::wstring(buffer.get(), length) : std::wstring();
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    if (!text.empty()) {
        return narrow(text);
    }
    const char* words = own_words(error);
    return "WinHTTP error " + std::to_string(error) +
           (words != nullptr ? std::string(" (") + words + ")." : std::string("."));
}

}  // namespace zvkob::win32
