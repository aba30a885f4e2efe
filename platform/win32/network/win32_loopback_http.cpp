#include "platform/win32/network/win32_loopback_http.hpp"

#include <optional>
#include <string_view>

#include "core/node_rpc/rpc_request.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

constexpr int connect_ms = 3000;
constexpr int send_ms = 5000;

// What the node's credentials must never meet: another server by a
// redirect, a cookie jar, WinHTTP's own sign-in, a connection kept for later.
constexpr DWORD features_off = WINHTTP_DISABLE_COOKIES | WINHTTP_DISABLE_REDIRECTS |
                               WINHTTP_DISABLE_AUTHENTICATION | WINHTTP_DISABLE_KEEP_ALIVE;

HttpAnswer refused(std::string_view address) {
    HttpAnswer answer;
    answer.outcome = HttpOutcome::refused_address;
    answer.failure = "ZV-KOB talks to the node's RPC only on 127.0.0.1 or ::1, not on \"" +
                     std::string(address) + "\".";
    return answer;
}

// A request's one exchange, each step failing with WinHTTP's own words.
class Exchange {
public:
    Exchange(WinHttpFunctions& winhttp, const LoopbackPost& request)
        : winhttp_(winhttp), request_(request) {}

    HttpAnswer run() {
        const bool ipv6 = request_.address != "127.0.0.1";
        where_ = (ipv6 ? "[::1]:" : "127.0.0.1:") + std::to_string(request_.port);
        const InternetHandle session(
            winhttp_, winhttp_.open(L"ZV-KOB", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, 0));
        const auto answer_ms = static_cast<int>(request_.answer_within.count());
        if (!session || !winhttp_.set_timeouts(session.get(), 0, connect_ms, send_ms, answer_ms)) {
            return failed("could not open a WinHTTP session");
        }
        const InternetHandle connection(
            winhttp_,
            winhttp_.connect(session.get(), ipv6 ? L"[::1]" : L"127.0.0.1", request_.port, 0));
        if (!connection) {
            return failed("could not open a connection to");
        }
        const std::wstring path = widen(request_.path);
        const InternetHandle call(
            winhttp_, winhttp_.open_request(connection.get(), L"POST", path.c_str(), nullptr,
                                            WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0));
        DWORD off = features_off;
        DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
        // The wait for the reply's headers has a time-out of its own (90 s unless set).
        DWORD headers_within = static_cast<DWORD>(answer_ms);
        if (!call ||
            !winhttp_.set_option(call.get(), WINHTTP_OPTION_DISABLE_FEATURE, &off, sizeof off) ||
            !winhttp_.set_option(call.get(), WINHTTP_OPTION_REDIRECT_POLICY, &never,
                                 sizeof never) ||
            !winhttp_.set_option(call.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT,
                                 &headers_within, sizeof headers_within)) {
            return failed("could not prepare a call to");
        }
        if (!send(call.get())) {
            // Refused while connecting: nothing reached a listener. Any other
            // failure of the send may come after part of the request went out.
            return GetLastError() == ERROR_WINHTTP_CANNOT_CONNECT ? failed("could not reach")
                                                                  : no_answer();
        }
        if (!winhttp_.receive_response(call.get(), nullptr)) {
            return no_answer();
        }
        return read_reply(call.get());
    }

private:
    // The headers are built in one buffer, made large enough first, so that no
    // copy of the credentials is left behind in memory freed on the way.
    bool send(HINTERNET call) {
        constexpr std::wstring_view name = L"Authorization: ";
        constexpr std::wstring_view rest = L"\r\nContent-Type: application/json\r\n";
        std::wstring headers;
        headers.reserve(name.size() + request_.authorization.size() + rest.size());
        headers += name;
        for (const char c : request_.authorization) {
            headers += static_cast<wchar_t>(static_cast<unsigned char>(c));  // base64: ASCII
        }
        headers += rest;
        const auto size = static_cast<DWORD>(request_.body.size());
        const bool sent =
            winhttp_.send_request(call, headers.c_str(), static_cast<DWORD>(headers.size()),
                                  const_cast<char*>(request_.body.data()), size, size, 0) != FALSE;
        const DWORD error = GetLastError();
        SecureZeroMemory(headers.data(), headers.size() * sizeof(wchar_t));  // the credentials
        SetLastError(error);
        return sent;
    }

    std::optional<DWORD> number_header(HINTERNET call, DWORD which) {
        DWORD value = 0;
        DWORD size = sizeof value;
        if (!winhttp_.query_headers(call, which | WINHTTP_QUERY_FLAG_NUMBER,
                                    WINHTTP_HEADER_NAME_BY_INDEX, &value, &size,
                                    WINHTTP_NO_HEADER_INDEX)) {
            return std::nullopt;
        }
        return value;
    }

    HttpAnswer read_reply(HINTERNET call) {
        HttpAnswer answer;
        const auto status = number_header(call, WINHTTP_QUERY_STATUS_CODE);
        if (!status) {
            return no_answer();
        }
        answer.status = static_cast<int>(*status);
        // A length announced beyond the cap is not worth reading at all.
        if (const auto length = number_header(call, WINHTTP_QUERY_CONTENT_LENGTH);
            length && *length > request_.reply_cap) {
            answer.outcome = HttpOutcome::oversized;
            return answer;
        }
        char chunk[16 * 1024];
        DWORD read = 0;
        do {
            if (!winhttp_.read_data(call, chunk, sizeof chunk, &read)) {
                return no_answer();
            }
            answer.body.append(chunk, read);
            if (answer.body.size() > request_.reply_cap) {
                answer.outcome = HttpOutcome::oversized;
                answer.body.clear();
                return answer;
            }
        } while (read > 0);
        answer.outcome = HttpOutcome::answered;
        return answer;
    }

    // The request went out, or may have: WinHTTP's own words for what came
    // instead of a reply, none when the time ran out (wine tells that as
    // Winsock's WSAETIMEDOUT).
    HttpAnswer no_answer() const {
        constexpr DWORD winsock_timed_out = 10060;
        const DWORD error = GetLastError();
        HttpAnswer answer;
        answer.outcome = HttpOutcome::no_answer;
        if (error != ERROR_WINHTTP_TIMEOUT && error != winsock_timed_out) {
            answer.failure = winhttp_.error_text(error);
        }
        return answer;
    }

    HttpAnswer failed(std::string_view what) const {
        const DWORD error = GetLastError();
        HttpAnswer answer;
        answer.failure = "ZV-KOB " + std::string(what) + " the node's RPC at " + where_ + ": " +
                         winhttp_.error_text(error);
        return answer;
    }

    WinHttpFunctions& winhttp_;
    const LoopbackPost& request_;
    std::string where_;
};

}  // namespace

HttpAnswer Win32LoopbackHttp::post(const LoopbackPost& request) {
    if (!is_loopback_literal(request.address)) {
        return refused(request.address);
    }
    if (!winhttp_.loaded()) {
        HttpAnswer answer;
        answer.failure = winhttp_.failure();
        return answer;
    }
    return Exchange(winhttp_, request).run();
}

}  // namespace zvkob::win32
