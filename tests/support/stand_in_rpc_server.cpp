#include "stand_in_rpc_server.hpp"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <shellapi.h>

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string_view>
#include <thread>
#include <type_traits>
#include <vector>

#include "core/node_rpc/rpc_credentials.hpp"
#include "platform/win32/owners.hpp"
#include "stand_in_network.hpp"

namespace stand_in_rpc {
namespace {

using Writer = rapidjson::Writer<rapidjson::StringBuffer>;

constexpr long synced_height = 850'000;
constexpr int invalid_request = -32600;
constexpr int method_not_found = -32601;
constexpr int parse_error = -32700;

std::string narrow(std::wstring_view wide) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                        nullptr, nullptr);
    return text;
}

std::wstring widen(std::string_view text) {
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

// What the command line asks of the server.
struct Options {
    bool on = false;
    bool old_style = false;
    bool testnet = false;
    int port = 8332;
    bool ipv4 = true;
    bool ipv6 = true;
    int warmup_seconds = 0;
    int peers = 8;
    std::string warning;
    std::vector<std::string> wallets;  // --rpc-wallet=<name>, each; the default wallet "" without
    std::string slow_method;           // --rpc-slow=<method>:<seconds>
    int slow_seconds = 0;
    bool wildcards = false;     // --rpc-bind=any: 0.0.0.0 and ::, as -rpcbind with -rpcallowip
    bool log_calls = false;     // -debug=rpc
    std::wstring cookie_file;   // -rpccookiefile
    bool wrong_cookie = false;  // accepts another cookie than the one it writes
    long sync_from = synced_height;
    long sync_to = synced_height;
    long long tip_age_s = 0;  // --tip-hours-old: every block that much older
    bool tip_time = true;     // without --rpc-no-tip-time: getblockchaininfo tells the tip's time
};

Options read_options() {
    Options options;
    int count = 0;
    const zvkob::win32::LocalMemory<wchar_t*> arguments(
        CommandLineToArgvW(GetCommandLineW(), &count));
    for (int i = 1; arguments && i < count; ++i) {
        const std::wstring argument = arguments.get()[i];
        const auto value = [&](std::wstring_view prefix) -> const wchar_t* {
            return argument.starts_with(prefix) ? argument.c_str() + prefix.size() : nullptr;
        };
        if (argument == L"--rpc") {
            options.on = true;
        } else if (argument == L"--rpc-style=old") {
            options.old_style = true;
        } else if (argument == L"-testnet") {
            options.testnet = true;
            options.port = 18332;
        } else if (const wchar_t* port = value(L"-rpcport=")) {
            options.port = _wtoi(port);
        } else if (argument == L"--rpc-bind=any") {
            options.wildcards = true;
        } else if (const wchar_t* bind = value(L"--rpc-bind=")) {
            options.ipv4 = std::wstring_view(bind) != L"::1";
            options.ipv6 = std::wstring_view(bind) != L"127.0.0.1";
        } else if (const wchar_t* warmup = value(L"--rpc-warmup=")) {
            options.warmup_seconds = _wtoi(warmup);
        } else if (const wchar_t* peers = value(L"--rpc-peers=")) {
            options.peers = _wtoi(peers);
        } else if (const wchar_t* warning = value(L"--rpc-warning=")) {
            options.warning = narrow(warning);
        } else if (argument == L"--rpc-wrong-cookie") {
            options.wrong_cookie = true;
        } else if (const wchar_t* wallet = value(L"--rpc-wallet=")) {
            options.wallets.push_back(narrow(wallet));
        } else if (const wchar_t* slow = value(L"--rpc-slow=")) {
            const std::string call = narrow(slow);
            options.slow_method = call.substr(0, call.find(':'));
            options.slow_seconds = std::atoi(call.substr(call.find(':') + 1).c_str());
        } else if (argument == L"-debug=rpc") {
            options.log_calls = true;
        } else if (const wchar_t* cookie = value(L"-rpccookiefile=")) {
            options.cookie_file = cookie;
        } else if (const wchar_t* hours = value(L"--tip-hours-old=")) {
            options.tip_age_s = _wtoi(hours) * 3600LL;
        } else if (argument == L"--rpc-no-tip-time") {
            options.tip_time = false;
        } else if (const wchar_t* sync = value(L"--sync=")) {
            wchar_t* dash = nullptr;
            options.sync_from = std::wcstol(sync, &dash, 10);
            options.sync_to = std::wcstol(dash + 1, nullptr, 10);
        }
    }
    if (options.wallets.empty()) {
        options.wallets.emplace_back();  // the default wallet
    }
    return options;
}

// Everything the server thread shares with the node's own thread.
struct State {
    Options options;
    Node node;
    std::wstring cookie_path;
    std::string credentials;  // the Authorization header's value the node accepts
    ULONGLONG started_ms = 0;
    std::atomic<long> height{synced_height};
    std::atomic<long long> tip_time{0};  // seconds since 1970
    std::atomic<bool> serving{false};
    std::vector<SOCKET> listeners;
    std::thread thread;
};

State* state = nullptr;

long long unix_time_now() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULARGE_INTEGER ticks{{now.dwLowDateTime, now.dwHighDateTime}};
    return static_cast<long long>(ticks.QuadPart / 10'000'000ULL) - 11'644'473'600LL;
}

// ---- The calls --------------------------------------------------------------

struct Answer {
    std::string result;  // JSON text, when there is no error
    int code = 0;
    std::string message;
};

Answer error(int code, std::string message) {
    return Answer{{}, code, std::move(message)};
}

template <typename Write>
Answer result(Write write) {
    rapidjson::StringBuffer buffer;
    Writer writer(buffer);
    write(writer);
    return Answer{std::string(buffer.GetString(), buffer.GetSize())};
}

void text(Writer& writer, std::string_view value) {
    writer.String(value.data(), static_cast<rapidjson::SizeType>(value.size()));
}

// One member of an object, written as its type calls for.
template <typename Value>
void field(Writer& writer, const char* key, const Value& value) {
    writer.Key(key);
    if constexpr (std::is_same_v<Value, bool>) {
        writer.Bool(value);
    } else if constexpr (std::is_floating_point_v<Value>) {
        writer.Double(value);
    } else if constexpr (std::is_integral_v<Value>) {
        writer.Int64(value);
    } else {
        text(writer, value);
    }
}

// A string up to 27 and in forks, an array of strings from 28 on.
void warnings(Writer& writer, const State& s) {
    if (s.options.old_style) {
        field(writer, "warnings", s.options.warning);
        return;
    }
    writer.Key("warnings");
    writer.StartArray();
    if (!s.options.warning.empty()) {
        text(writer, s.options.warning);
    }
    writer.EndArray();
}

// A block's hash made of its height, as only the stand-in needs.
std::string tip_hash(long height) {
    char hash[65];
    std::snprintf(hash, sizeof hash, "%064lx", static_cast<unsigned long>(height));
    return hash;
}

Answer blockchain_info(const State& s) {
    return result([&](Writer& writer) {
        const long height = s.height.load();
        const long from = s.options.sync_from;
        const long to = s.options.sync_to;
        writer.StartObject();
        field(writer, "chain", std::string(s.options.testnet ? "test" : "main"));
        field(writer, "blocks", height);
        field(writer, "headers", to);
        if (s.options.tip_time) {
            field(writer, "time", s.tip_time.load());
        }
        field(writer, "bestblockhash", tip_hash(height));
        field(writer, "mediantime", s.tip_time.load() - 3000);
        field(writer, "verificationprogress",
              height >= to ? 1.0 : 0.5 + 0.49 * double(height - from) / double(to - from));
        field(writer, "initialblockdownload", height < to);
        field(writer, "size_on_disk", 612'345'678'901LL);
        field(writer, "pruned", false);
        warnings(writer, s);
        writer.EndObject();
    });
}

// Older nodes and forks tell the tip's time only in its header.
Answer block_header(const State& s, const rapidjson::Value& params) {
    const long height = s.height.load();
    if (!params.IsArray() || params.Size() != 1 || !params[0].IsString() ||
        std::string_view(params[0].GetString()) != tip_hash(height)) {
        return error(-5, "Block not found");
    }
    return result([&](Writer& writer) {
        writer.StartObject();
        field(writer, "hash", tip_hash(height));
        field(writer, "height", height);
        field(writer, "time", s.tip_time.load());
        writer.EndObject();
    });
}

Answer network_info(const State& s) {
    return result([&](Writer& writer) {
        writer.StartObject();
        field(writer, "version", 300000);
        field(writer, "subversion", std::string("/StandIn:30.0.0/"));
        field(writer, "connections", stand_in_network::active() ? s.options.peers : 0);
        field(writer, "networkactive", stand_in_network::active());
        warnings(writer, s);
        writer.EndObject();
    });
}

Answer rpc_info(const State& s) {
    return result([&](Writer& writer) {
        writer.StartObject();
        field(writer, "logpath", narrow(s.node.log_path));
        writer.EndObject();
    });
}

// %XX back to bytes, as the node reads a wallet's name from its path.
std::string url_decoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            decoded += static_cast<char>(
                std::strtol(std::string(text.substr(i + 1, 2)).c_str(), nullptr, 16));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

// The wallet a call is for: the one its path names, or the only one loaded.
// Nothing, with the node's error, when that is not one of the loaded wallets.
const std::string* wallet_of(const State& s, std::string_view path, Answer& refusal) {
    constexpr std::string_view wallet_prefix = "/wallet/";
    if (!path.starts_with(wallet_prefix)) {
        if (s.options.wallets.size() == 1) {
            return &s.options.wallets.front();
        }
        refusal = error(-19,
                        "Wallet file not specified (must request wallet RPC through "
                        "/wallet/<filename> uri-path).");
        return nullptr;
    }
    const std::string name = url_decoded(path.substr(wallet_prefix.size()));
    const auto found = std::find(s.options.wallets.begin(), s.options.wallets.end(), name);
    if (found == s.options.wallets.end()) {
        refusal = error(-18, "Requested wallet does not exist or is not loaded");
        return nullptr;
    }
    return &*found;
}

Answer backup_wallet(const State& s, std::string_view path, const rapidjson::Value& params) {
    Answer refusal;
    const std::string* wallet = wallet_of(s, path, refusal);
    if (wallet == nullptr) {
        return refusal;
    }
    if (!params.IsArray() || params.Size() != 1 || !params[0].IsString()) {
        return error(-1, "backupwallet \"destination\"");
    }
    const std::wstring destination =
        widen(std::string_view(params[0].GetString(), params[0].GetStringLength()));
    const zvkob::win32::KernelHandle file =
        zvkob::win32::file_handle(CreateFileW(destination.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::string contents = "stand-in wallet \"" + *wallet + "\"\n";
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), contents.data(), static_cast<DWORD>(contents.size()),
                            &written, nullptr)) {
        return error(-4, "Error: Wallet backup failed!");
    }
    return result([](Writer& writer) { writer.Null(); });
}

// The phase a starting node gives as its -28 message, by the time it has had.
std::string warmup_phase(const State& s) {
    static const char* const phases[] = {"Loading block index", "Verifying blocks",
                                         "Loading wallet", "Loading P2P addresses"};
    const ULONGLONG elapsed = GetTickCount64() - s.started_ms;
    const auto at = static_cast<std::size_t>(
        elapsed * 4 / (static_cast<ULONGLONG>(s.options.warmup_seconds) * 1000));
    return std::string(phases[at < 4 ? at : 3]) + (s.options.old_style ? "..." : "\u2026");
}

bool warming_up(const State& s) {
    return GetTickCount64() - s.started_ms <
           static_cast<ULONGLONG>(s.options.warmup_seconds) * 1000;
}

Answer call(State& s, std::string_view method, std::string_view path,
            const rapidjson::Value& params, bool& stop_after) {
    if (warming_up(s)) {
        return error(-28, warmup_phase(s));
    }
    if (method == "getblockchaininfo") {
        return blockchain_info(s);
    }
    if (method == "getnetworkinfo") {
        return network_info(s);
    }
    if (method == "getblockheader") {
        return block_header(s, params);
    }
    if (method == "uptime") {
        return result([&](Writer& w) {
            w.Int64(static_cast<long long>((GetTickCount64() - s.started_ms) / 1000));
        });
    }
    if (method == "getrpcinfo") {
        return rpc_info(s);
    }
    if (method == "listwallets") {
        return result([&](Writer& w) {
            w.StartArray();
            for (const std::string& wallet : s.options.wallets) {
                text(w, wallet);
            }
            w.EndArray();
        });
    }
    if (method == "backupwallet") {
        return backup_wallet(s, path, params);
    }
    if (method == "setnetworkactive") {
        if (!params.IsArray() || params.Size() != 1 || !params[0].IsBool()) {
            return error(-3, "Expected type bool");
        }
        const bool on = stand_in_network::set_active(params[0].GetBool(), s.node.log);
        return result([on](Writer& w) { w.Bool(on); });
    }
    if (method == "stop") {
        stop_after = true;
        return result([](Writer& w) { w.String("Stand-in node stopping"); });
    }
    return error(method_not_found, "Method not found");
}

// ---- HTTP -------------------------------------------------------------------

struct Request {
    std::string method;  // the HTTP method
    std::string path;
    std::string authorization;
    std::string body;
};

bool same_text_ignoring_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Reads one request: its line and headers (8 KiB at most, as the node
// allows), then as many bytes of body as its Content-Length says.
bool read_request(SOCKET client, Request& request) {
    std::string received;
    char chunk[4096];
    std::size_t head_end = std::string::npos;
    while ((head_end = received.find("\r\n\r\n")) == std::string::npos) {
        const int got = recv(client, chunk, sizeof chunk, 0);
        if (got <= 0 || received.size() > 8192) {
            return false;
        }
        received.append(chunk, static_cast<std::size_t>(got));
    }
    const std::string head = received.substr(0, head_end);
    std::size_t length = 0;
    std::size_t line_start = head.find("\r\n");
    const std::string request_line = head.substr(0, line_start);
    request.method = request_line.substr(0, request_line.find(' '));
    const std::size_t path_at = request_line.find(' ') + 1;
    request.path = request_line.substr(path_at, request_line.find(' ', path_at) - path_at);
    while (line_start != std::string::npos) {
        const std::size_t next = head.find("\r\n", line_start + 2);
        const std::string line = head.substr(line_start + 2, next - line_start - 2);
        const std::size_t colon = line.find(':');
        const std::string name = line.substr(0, colon);
        const std::size_t value_at =
            colon == std::string::npos ? colon : line.find_first_not_of(' ', colon + 1);
        const std::string value = value_at == std::string::npos ? "" : line.substr(value_at);
        if (same_text_ignoring_case(name, "Content-Length")) {
            length = std::strtoul(value.c_str(), nullptr, 10);
        } else if (same_text_ignoring_case(name, "Authorization")) {
            request.authorization = value;
        }
        line_start = next;
    }
    request.body = received.substr(head_end + 4);
    while (request.body.size() < length) {
        const int got = recv(client, chunk, sizeof chunk, 0);
        if (got <= 0) {
            return false;
        }
        request.body.append(chunk, static_cast<std::size_t>(got));
    }
    return true;
}

void respond(SOCKET client, int status, std::string_view reason, std::string_view body,
             std::string_view extra_headers = "") {
    char head[512];
    std::snprintf(head, sizeof head,
                  "HTTP/1.1 %d %.*s\r\nContent-Type: application/json\r\nContent-Length: %zu\r\n"
                  "%.*sConnection: close\r\n\r\n",
                  status, static_cast<int>(reason.size()), reason.data(), body.size(),
                  static_cast<int>(extra_headers.size()), extra_headers.data());
    const std::string whole = std::string(head) + std::string(body);
    send(client, whole.data(), static_cast<int>(whole.size()), 0);
}

const char* reason_of(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 400:
            return "Bad Request";
        case 404:
            return "Not Found";
        default:
            return "Internal Server Error";
    }
}

// The reply in the style the request and the node call for, and its status.
void reply(SOCKET client, const Answer& answer, const rapidjson::Value* id, bool new_style) {
    rapidjson::StringBuffer buffer;
    Writer writer(buffer);
    writer.StartObject();
    if (new_style) {
        writer.Key("jsonrpc");
        writer.String("2.0");
    }
    const bool failed = answer.code != 0;
    if (!failed || !new_style) {
        writer.Key("result");
        if (failed) {
            writer.Null();
        } else {
            writer.RawValue(answer.result.data(), answer.result.size(), rapidjson::kObjectType);
        }
    }
    if (failed || !new_style) {
        writer.Key("error");
        if (failed) {
            writer.StartObject();
            writer.Key("code");
            writer.Int(answer.code);
            writer.Key("message");
            text(writer, answer.message);
            writer.EndObject();
        } else {
            writer.Null();
        }
    }
    writer.Key("id");
    if (id != nullptr) {
        id->Accept(writer);
    } else {
        writer.Null();
    }
    writer.EndObject();
    const int status = !failed || (new_style && answer.code != parse_error) ? 200
                       : answer.code == invalid_request                     ? 400
                       : answer.code == method_not_found                    ? 404
                                                                            : 500;
    respond(client, status, reason_of(status), std::string(buffer.GetString()) + "\n");
}

// Carries out one call and replies; a stop is begun once its answer is out.
void answer_call(State& s, SOCKET client, const rapidjson::Document& parsed,
                 const std::string& path, bool new_style) {
    const auto id = parsed.FindMember("id");
    const rapidjson::Value* id_value = id == parsed.MemberEnd() ? nullptr : &id->value;
    const auto params = parsed.FindMember("params");
    const rapidjson::Value no_params(rapidjson::kArrayType);
    bool stop_after = false;
    const Answer answer =
        call(s, parsed["method"].GetString(), path,
             params == parsed.MemberEnd() ? no_params : params->value, stop_after);
    reply(client, answer, id_value, new_style);
    if (stop_after) {
        CloseHandle(CreateFileW(s.node.stop_file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    }
}

void close_connection(SOCKET client) {
    shutdown(client, SD_SEND);
    closesocket(client);
}

// Serves one connection. The slow call (--rpc-slow) is carried out and
// answered after its seconds on a thread of its own, which then closes the
// connection, while other calls go on, as on a node's several RPC threads.
void serve(State& s, SOCKET client, const std::string& peer) {
    Request request;
    if (!read_request(client, request)) {
        return close_connection(client);
    }
    if (request.method != "POST") {
        respond(client, 405, "Method Not Allowed", "");
        return close_connection(client);
    }
    if (!request.authorization.starts_with("Basic ")) {
        respond(client, 401, "Unauthorized", "", "WWW-Authenticate: Basic realm=\"jsonrpc\"\r\n");
        return close_connection(client);
    }
    if (request.authorization != s.credentials) {
        Sleep(250);  // as the node slows down a guesser
        s.node.log(("ThreadRPCServer incorrect password attempt from " + peer).c_str());
        respond(client, 401, "Unauthorized", "", "WWW-Authenticate: Basic realm=\"jsonrpc\"\r\n");
        return close_connection(client);
    }
    auto parsed = std::make_shared<rapidjson::Document>();
    parsed->Parse(request.body.data(), request.body.size());
    if (parsed->HasParseError() || !parsed->IsObject()) {
        reply(client, error(parse_error, "Parse error"), nullptr, false);
        return close_connection(client);
    }
    const auto version = parsed->FindMember("jsonrpc");
    const bool new_style = !s.options.old_style && version != parsed->MemberEnd() &&
                           version->value.IsString() &&
                           std::string_view(version->value.GetString()) == "2.0";
    const auto method = parsed->FindMember("method");
    if (method == parsed->MemberEnd() || !method->value.IsString()) {
        const auto id = parsed->FindMember("id");
        reply(client, error(invalid_request, "Method must be a string"),
              id == parsed->MemberEnd() ? nullptr : &id->value, new_style);
        return close_connection(client);
    }
    const std::string name = method->value.GetString();
    if (s.options.log_calls) {
        s.node.log(("ThreadRPCServer method=" + name + " user=__cookie__").c_str());
    }
    if (name != s.options.slow_method) {
        answer_call(s, client, *parsed, request.path, new_style);
        return close_connection(client);
    }
    std::thread([&s, client, parsed, path = request.path, new_style] {
        Sleep(static_cast<DWORD>(s.options.slow_seconds) * 1000);
        answer_call(s, client, *parsed, path, new_style);
        close_connection(client);
    }).detach();
}

std::string peer_of(const sockaddr_storage& address) {
    char text[INET6_ADDRSTRLEN] = "?";
    const bool v6 = address.ss_family == AF_INET6;
    const void* where =
        v6 ? static_cast<const void*>(&reinterpret_cast<const sockaddr_in6&>(address).sin6_addr)
           : &reinterpret_cast<const sockaddr_in&>(address).sin_addr;
    inet_ntop(address.ss_family, where, text, sizeof text);
    const u_short port = v6 ? reinterpret_cast<const sockaddr_in6&>(address).sin6_port
                            : reinterpret_cast<const sockaddr_in&>(address).sin_port;
    const std::string host = v6 ? "[" + std::string(text) + "]" : std::string(text);
    return host + ":" + std::to_string(ntohs(port));
}

// One connection at a time, until stop().
void run_server(State& s) {
    while (s.serving) {
        fd_set ready;
        FD_ZERO(&ready);
        for (const SOCKET listener : s.listeners) {
            FD_SET(listener, &ready);
        }
        timeval wait{0, 100'000};
        if (select(0, &ready, nullptr, nullptr, &wait) <= 0) {
            continue;
        }
        for (const SOCKET listener : s.listeners) {
            if (!FD_ISSET(listener, &ready)) {
                continue;
            }
            sockaddr_storage peer{};
            int peer_size = sizeof peer;
            const SOCKET client = accept(listener, reinterpret_cast<sockaddr*>(&peer), &peer_size);
            if (client == INVALID_SOCKET) {
                continue;
            }
            const DWORD timeout_ms = 5000;
            setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout_ms),
                       sizeof timeout_ms);
            serve(s, client, peer_of(peer));
        }
    }
}

// ---- Start ------------------------------------------------------------------

// Binds one address as the node does, logging the attempt and any failure:
// the family's loopback, or with `wildcard` all of its addresses.
void bind_address(State& s, const char* address, int family, bool wildcard = false) {
    char line[128];
    std::snprintf(line, sizeof line, "Binding RPC on address %s port %d", address, s.options.port);
    s.node.log(line);
    const SOCKET listener = socket(family, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_storage where{};
    int size = 0;
    if (family == AF_INET6) {
        const DWORD only_v6 = 1;
        setsockopt(listener, IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char*>(&only_v6),
                   sizeof only_v6);
        auto& v6 = reinterpret_cast<sockaddr_in6&>(where);
        v6.sin6_family = AF_INET6;
        v6.sin6_port = htons(static_cast<u_short>(s.options.port));
        v6.sin6_addr = wildcard ? in6addr_any : in6addr_loopback;
        size = sizeof v6;
    } else {
        auto& v4 = reinterpret_cast<sockaddr_in&>(where);
        v4.sin_family = AF_INET;
        v4.sin_port = htons(static_cast<u_short>(s.options.port));
        v4.sin_addr.s_addr = htonl(wildcard ? INADDR_ANY : INADDR_LOOPBACK);
        size = sizeof v4;
    }
    if (listener == INVALID_SOCKET ||
        bind(listener, reinterpret_cast<const sockaddr*>(&where), size) != 0 ||
        listen(listener, SOMAXCONN) != 0) {
        closesocket(listener);
        std::snprintf(line, sizeof line, "Binding RPC on address %s port %d failed.", address,
                      s.options.port);
        s.node.log(line);
        return;
    }
    s.listeners.push_back(listener);
}

// "__cookie__:" and 64 hex digits, written whole: .cookie.tmp, then renamed.
bool write_cookie(State& s) {
    std::random_device random;
    std::string cookie = "__cookie__:";
    for (int i = 0; i < 32; ++i) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", random() & 0xFF);
        cookie += hex;
    }
    const std::wstring partial = s.cookie_path + L".tmp";
    {
        const zvkob::win32::KernelHandle file =
            zvkob::win32::file_handle(CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file || !WriteFile(file.get(), cookie.data(), static_cast<DWORD>(cookie.size()),
                                &written, nullptr)) {
            return false;
        }
    }
    if (!MoveFileExW(partial.c_str(), s.cookie_path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return false;
    }
    if (s.options.wrong_cookie) {
        cookie.back() = cookie.back() == '0' ? '1' : '0';
    }
    s.credentials = zvkob::basic_credentials_from_cookie(cookie).value_or("");
    return true;
}

std::wstring cookie_path(const Options& options, const std::wstring& network_folder) {
    const std::wstring& file = options.cookie_file;
    if (file.empty()) {
        return network_folder + L"\\.cookie";
    }
    const bool absolute = file.size() > 1 && (file[1] == L':' || file[0] == L'\\');
    return absolute ? file : network_folder + L"\\" + file;
}

}  // namespace

void start(Node node) {
    Options options = read_options();
    if (!options.on) {
        return;
    }
    state = new State{};  // never deleted: it ends with the process, whichever way that stops
    State& s = *state;
    s.options = std::move(options);
    s.node = std::move(node);
    s.started_ms = GetTickCount64();
    s.height = s.options.sync_from;
    s.tip_time =
        unix_time_now() - (s.options.sync_to - s.options.sync_from) * 600LL - s.options.tip_age_s;
    WSADATA winsock{};
    WSAStartup(MAKEWORD(2, 2), &winsock);
    if (s.options.wildcards) {
        bind_address(s, "0.0.0.0", AF_INET, true);
        bind_address(s, "::", AF_INET6, true);
    } else {
        if (s.options.ipv4) {
            bind_address(s, "127.0.0.1", AF_INET);
        }
        if (s.options.ipv6) {
            bind_address(s, "::1", AF_INET6);
        }
    }
    if (s.listeners.empty()) {
        s.node.log("Unable to bind any endpoint for RPC server");
        CloseHandle(CreateFileW(s.node.stop_file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        return;
    }
    s.cookie_path = cookie_path(s.options, s.node.network_folder);
    if (!write_cookie(s)) {
        s.node.log("Unable to open cookie authentication file for writing");
        return;
    }
    s.node.log(("Generated RPC authentication cookie " + narrow(s.cookie_path)).c_str());
    s.serving = true;
    s.thread = std::thread([&s] { run_server(s); });
}

void wait_until_loaded() {
    while (state != nullptr && warming_up(*state)) {
        Sleep(50);
    }
}

void reached(long height) {
    if (state == nullptr) {
        return;
    }
    state->height = height;
    state->tip_time =
        unix_time_now() - (state->options.sync_to - height) * 600LL - state->options.tip_age_s;
}

void stop() {
    if (state == nullptr || !state->serving) {
        return;
    }
    state->serving = false;
    state->thread.join();
    for (const SOCKET listener : state->listeners) {
        closesocket(listener);
    }
    DeleteFileW(state->cookie_path.c_str());
}

}  // namespace stand_in_rpc
