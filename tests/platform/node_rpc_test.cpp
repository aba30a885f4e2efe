// The node's RPC over the real WinHTTP and the real listener table, against
// the stand-in node's server: both loopback addresses, both reply styles, the
// node's own cookie, a wrong one, an address that is never contacted, and
// its network paused and resumed for a metered link.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include "driver.hpp"
#include "loopback_sockets.hpp"
#include "core/power/metered_pause.hpp"
#include "core/node_rpc/node_rpc_asker.hpp"
#include "core/node_rpc/node_rpc_progress.hpp"
#include "core/power/node_stop_time.hpp"
#include "core/node_rpc/rpc_credentials.hpp"
#include "core/node_rpc/rpc_reply.hpp"
#include "core/node_rpc/rpc_request.hpp"
#include "platform/win32/files/win32_file_system.hpp"
#include "platform/win32/network/win32_loopback_http.hpp"
#include "platform/win32/network/win32_port_listeners.hpp"

namespace zvkob::win32 {
namespace {

using namespace zvkob::e2e;

// A stand-in node serving RPC in a folder of its own, once its cookie is there.
struct RpcNode {
    RpcNode(std::wstring_view name, std::uint16_t port, const std::wstring& options)
        : folder(name),
          exe(folder.file(L"zv-rpc-node.exe")),
          cookie(folder.file(L".cookie")),
          log(folder.file(L"debug.log")) {
        stand_in(exe);
        process.emplace(exe, L"--rpc -rpcport=" + std::to_wstring(port) + L" \"-datadir=" +
                                 folder.path() + L"\" " + options);
    }
    bool ready() const { return stand_in_started(exe); }
    std::string credentials() const {
        return basic_credentials_from_cookie(read_file(cookie)).value_or("no cookie");
    }

    ScratchFolder folder;
    std::wstring exe;
    std::wstring cookie;
    std::wstring log;
    std::optional<Process> process;
};

// One call, as the program makes it.
RpcReply call(LoopbackHttp& http, std::string_view address, std::uint16_t port,
              const std::string& credentials, std::string_view method,
              std::span<const RpcParam> params = {}, std::string_view path = "/") {
    static std::int64_t id = 0;
    const std::string body = rpc_request_body(method, params, ++id).value_or("");
    const HttpAnswer answer = http.post({address, port, path, credentials, body});
    switch (answer.outcome) {
        case HttpOutcome::answered:
            return RpcReply::from_http(answer.status, answer.body, id);
        case HttpOutcome::oversized:
            return RpcReply::oversized();
        default:
            return RpcReply::transport_failure(answer.failure);
    }
}

bool logged(const RpcNode& node, const std::string& line) {
    return read_file(node.log).find(line) != std::string::npos;
}

std::vector<std::string> log_lines(const RpcNode& node) {
    std::vector<std::string> lines;
    const std::string log = read_file(node.log);
    for (std::size_t at = 0, end = 0; at < log.size(); at = end + 1) {
        end = std::min(log.find('\n', at), log.size());
        lines.push_back(log.substr(at, end - at));
    }
    return lines;
}

// Where the program would ask the node, from its command line and its log so far.
RpcEndpoint endpoint_of(const RpcNode& node, std::uint16_t port) {
    RpcLogFacts facts;
    for (const std::string& line : log_lines(node)) {
        facts.feed(line);
    }
    const std::string line = "\"" + narrow(node.exe) + "\" -rpcport=" + std::to_string(port) +
                             " \"-datadir=" + narrow(node.folder.path()) + "\"";
    return rpc_endpoint(
        line, [](std::string_view) { return std::nullopt; }, facts);
}

TEST(NodeRpc, ReachesTheNodeOnBothLoopbackAddressesWithItsOwnCookieAndStopsIt) {
    const Winsock winsock;
    const std::uint16_t port = free_loopback_port();
    ASSERT_NE(port, 0);
    RpcNode node(L"node rpc", port,
                 L"--sync=100-140 --rpc-peers=3 \"--rpc-wallet=my w\xE9\" "
                 L"\"--rpc-warning=Unknown new rules activated (versionbit 28)\"");
    ASSERT_TRUE(node.ready());
    const std::string p = std::to_string(port);
    EXPECT_TRUE(logged(node, "Binding RPC on address 127.0.0.1 port " + p + "\n"));
    EXPECT_TRUE(logged(node, "Binding RPC on address ::1 port " + p + "\n"));
    EXPECT_TRUE(logged(node, "Generated RPC authentication cookie " + narrow(node.cookie) + "\n"));

    Win32LoopbackHttp http;
    for (const char* address : {"127.0.0.1", "::1"}) {
        const RpcReply chain = call(http, address, port, node.credentials(), "getblockchaininfo");
        ASSERT_TRUE(chain.ok()) << address << ": " << chain.describe();
        EXPECT_EQ(chain.http_status(), 200);
        EXPECT_EQ(chain.result().member("chain").text(), "main");
        EXPECT_EQ(chain.result().member("headers").whole_number(), 140);
        EXPECT_EQ(chain.result().member("warnings").texts(),
                  std::vector<std::string>{"Unknown new rules activated (versionbit 28)"});
    }
    const RpcReply wrong =
        call(http, "127.0.0.1", port, "Basic X19jb29raWVfXzowMDAw", "getnetworkinfo");
    EXPECT_EQ(wrong.failure(), RpcFailure::refused_credentials) << wrong.describe();
    EXPECT_TRUE(logged(node, "ThreadRPCServer incorrect password attempt from 127.0.0.1:"));
    for (const char* elsewhere : {"localhost", "192.0.2.1"}) {
        const HttpAnswer refused = http.post({elsewhere, port, "/", node.credentials(), "{}"});
        EXPECT_EQ(refused.outcome, HttpOutcome::refused_address) << elsewhere;
        EXPECT_NE(refused.failure.find(elsewhere), std::string::npos) << refused.failure;
    }

    Win32PortListeners listeners;
    for (const char* address : {"127.0.0.1", "[::1]"}) {
        const PortListener listener = listeners.who_listens(address, port);
        EXPECT_EQ(listener.kind, PortListener::Kind::listening) << address << listener.failure;
        EXPECT_TRUE(listener.process_id == node.process->id() || listener.process_id == 0)
            << "wine tells no process: " << listener.process_id;
    }
    const std::uint16_t unused = free_loopback_port();
    EXPECT_EQ(listeners.who_listens("::1", unused).kind, PortListener::Kind::nobody);
    const HttpAnswer nobody = http.post({"127.0.0.1", unused, "/", node.credentials(), "{}"});
    EXPECT_EQ(nobody.outcome, HttpOutcome::failed);
    EXPECT_NE(nobody.failure.find("127.0.0.1:" + std::to_string(unused) + ": "), std::string::npos)
        << nobody.failure;

    // A wallet's backup goes to its path, its name escaped in the call's path.
    const std::string copy = narrow(node.folder.file(L"backup \xE9 1.dat"));
    const RpcParam to_copy[] = {RpcParam::text(copy)};
    const RpcReply backup = call(http, "::1", port, node.credentials(), "backupwallet", to_copy,
                                 rpc_wallet_path("my w\xC3\xA9"));
    EXPECT_TRUE(backup.ok()) << backup.describe();
    EXPECT_TRUE(file_exists(widen(copy)));
    const RpcParam nowhere[] = {RpcParam::text("C:\\no such folder\\w.dat")};
    EXPECT_EQ(call(http, "::1", port, node.credentials(), "backupwallet", nowhere).error_code(),
              -4);

    const RpcReply stop = call(http, "127.0.0.1", port, node.credentials(), "stop");
    EXPECT_TRUE(stop.ok()) << stop.describe();
    EXPECT_TRUE(node.process->wait_for_exit(10s));
    EXPECT_FALSE(file_exists(node.cookie)) << "the node takes its cookie away";
    EXPECT_TRUE(logged(node, "Shutdown: done"));
}

// Another program holds 127.0.0.1 on the node's port: the node says so and
// listens on ::1 alone, where it answers in the older style once loaded.
TEST(NodeRpc, ReadsAnOldStyleNodeWarmingUpBesideAProgramThatHoldsItsPort) {
    const Winsock winsock;
    const std::uint16_t port = free_loopback_port();
    TestSocket holder(AF_INET);
    ASSERT_EQ(holder.bind_loopback(port, false), port);
    ASSERT_TRUE(holder.listen_here());
    RpcNode node(L"old rpc", port, L"--rpc-style=old --rpc-warmup=4");
    ASSERT_TRUE(wait_until([&] { return file_exists(node.cookie); }, 10s));
    EXPECT_TRUE(logged(
        node, "Binding RPC on address 127.0.0.1 port " + std::to_string(port) + " failed.\n"));
    const PortListener held = Win32PortListeners().who_listens("127.0.0.1", port);
    EXPECT_EQ(held.kind, PortListener::Kind::listening);
    EXPECT_TRUE(held.process_id == GetCurrentProcessId() || held.process_id == 0);

    Win32LoopbackHttp http;
    const RpcReply starting = call(http, "::1", port, node.credentials(), "getnetworkinfo");
    EXPECT_EQ(starting.failure(), RpcFailure::warming_up) << starting.describe();
    EXPECT_EQ(starting.http_status(), 500);
    EXPECT_TRUE(starting.message().ends_with("...")) << starting.message();
    RpcReply info = RpcReply::transport_failure("not asked");
    ASSERT_TRUE(wait_until(
        [&] { return (info = call(http, "::1", port, node.credentials(), "getnetworkinfo")).ok(); },
        10s))
        << info.describe();
    EXPECT_EQ(info.result().member("connections").whole_number(), 8);
    EXPECT_EQ(info.result().member("warnings").texts(), std::vector<std::string>{});
    const RpcReply unknown = call(http, "::1", port, node.credentials(), "no_such_call");
    EXPECT_EQ(unknown.failure(), RpcFailure::rpc_error);
    EXPECT_EQ(unknown.error_code(), -32601);
    EXPECT_EQ(unknown.http_status(), 404);

    // The program's own asker: the log rules out 127.0.0.1, so the program
    // holding it never hears from ZV-KOB, whatever wine says of listeners.
    RpcEndpoint endpoint = endpoint_of(node, port);
    EXPECT_EQ(endpoint.addresses, std::vector<std::string>{"::1"}) << endpoint.no_rpc;
    Win32PortListeners listeners;
    Win32FileSystem files;
    NodeRpcAsker asker(http, listeners, files);
    const unsigned long node_id = node.process->id();
    NodeRpcProgress progress;
    const NodeRpcAnswers answers = asker.state(endpoint, node_id);
    ASSERT_TRUE(answers.chain.ok()) << answers.chain.describe();
    const auto state = progress.update(answers.chain, answers.network, 0);
    ASSERT_TRUE(state);
    EXPECT_EQ(state->header_height, answers.chain.result().member("headers").whole_number());
    EXPECT_FALSE(holder.reached()) << "the program on the node's port was contacted";
    EXPECT_TRUE(asker.stop(endpoint, node_id).ok());
    EXPECT_TRUE(node.process->wait_for_exit(10s));
}

std::size_t calls_logged(const RpcNode& node, const std::string& method) {
    const std::string log = read_file(node.log);
    const std::string line = "ThreadRPCServer method=" + method + " ";
    std::size_t count = 0;
    for (auto at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) {
        ++count;
    }
    return count;
}

// A call that went out and met no reply (its connection broken by the node
// going, or its answer later than the call's time) is "sent, no answer", and
// is not sent again at the other address; nothing listening is "nothing
// sent". The wait for the reply's headers has its own time-out, which wine
// honours too.
TEST(NodeRpc, ACallThatWentOutIsNeverSentAgain) {
    const Winsock winsock;
    const std::uint16_t port = free_loopback_port();
    RpcNode node(L"once rpc", port, L"--rpc-slow=backupwallet:30 -debug=rpc");
    ASSERT_TRUE(node.ready());
    Win32LoopbackHttp http;
    Win32PortListeners listeners;
    Win32FileSystem files;
    NodeRpcAsker asker(http, listeners, files);
    const RpcEndpoint endpoint = endpoint_of(node, port);
    ASSERT_EQ(endpoint.addresses, (std::vector<std::string>{"127.0.0.1", "::1"}));
    RpcReply reply = RpcReply::transport_failure("not asked");
    std::thread backup([&] {
        reply = asker.backup_wallet(endpoint, node.process->id(), "",
                                    narrow(node.folder.file(L"w.dat")));
    });
    ASSERT_TRUE(wait_until([&] { return calls_logged(node, "backupwallet") == 1; }, 10s));
    node.process->kill();
    backup.join();
    EXPECT_EQ(reply.failure(), RpcFailure::no_answer) << reply.describe();
    EXPECT_TRUE(reply.may_have_been_acted_on());
    EXPECT_EQ(calls_logged(node, "backupwallet"), 1U) << "not again at ::1";

    const HttpAnswer nobody = http.post({"127.0.0.1", port, "/", "Basic x", "{}"});
    EXPECT_EQ(nobody.outcome, HttpOutcome::failed) << "nothing sent: " << nobody.failure;

    const std::uint16_t late_port = free_loopback_port();
    RpcNode late(L"late rpc", late_port, L"--rpc-slow=getblockchaininfo:3 -debug=rpc");
    ASSERT_TRUE(late.ready());
    const std::string credentials = late.credentials();
    const std::string body = rpc_request_body("getblockchaininfo", {}, 1).value_or("");
    LoopbackPost post{"127.0.0.1", late_port, "/", credentials, body};
    post.answer_within = 1s;
    const auto asked = Clock::now();
    const HttpAnswer slow = http.post(post);
    EXPECT_EQ(slow.outcome, HttpOutcome::no_answer) << "a reply 3 s late, 1 s allowed";
    EXPECT_LT(Clock::now() - asked, 2500ms);
    EXPECT_EQ(calls_logged(late, "getblockchaininfo"), 1U);
    EXPECT_TRUE(asker.stop(endpoint_of(late, late_port), late.process->id()).ok());
    EXPECT_TRUE(late.process->wait_for_exit(10s));
}

TEST(NodeRpc, TheAskerWaitsOutTheWarmUpAndSaysWhenTheCookieIsRefused) {
    const Winsock winsock;
    const std::uint16_t port = free_loopback_port();
    ASSERT_NE(port, 0);
    RpcNode node(L"asked rpc", port, L"--rpc-warmup=3 --sync=100-102 --stop-seconds=2");
    ASSERT_TRUE(wait_until([&] { return file_exists(node.cookie); }, 10s));
    Win32LoopbackHttp http;
    Win32PortListeners listeners;
    Win32FileSystem files;
    NodeRpcAsker asker(http, listeners, files);
    RpcEndpoint endpoint = endpoint_of(node, port);
    NodeRpcProgress progress;
    auto state = progress.update(asker.state(endpoint, node.process->id()).chain,
                                 RpcReply::transport_failure("not asked"), 0);
    ASSERT_TRUE(state);
    EXPECT_EQ(state->condition, NodeCondition::starting);
    EXPECT_FALSE(state->detail.empty());
    ASSERT_TRUE(wait_until(
        [&] {
            const NodeRpcAnswers answers = asker.state(endpoint, node.process->id());
            state = progress.update(answers.chain, answers.network, 0);
            return state && state->condition != NodeCondition::starting;
        },
        10s));
    EXPECT_TRUE(state->header_height);

    // On a metered link its network is paused over its RPC, and resumed after.
    MeteredPause metered;
    const auto network = [&] {
        const RpcReply info = asker.call(endpoint, node.process->id(), "getnetworkinfo");
        return MeteredFacts{true, info.ok(), link_cost::roaming,
                            info.result().member("networkactive").flag()};
    };
    for (const bool on : {false, true}) {
        MeteredFacts facts = network();
        facts.cost = on ? link_cost::unrestricted : link_cost::roaming;
        const NetworkAction action = metered.update(facts).action;
        ASSERT_EQ(action, on ? NetworkAction::resume : NetworkAction::pause);
        const RpcParam state_wanted[] = {RpcParam::flag(on)};
        const RpcReply set =
            asker.call(endpoint, node.process->id(), "setnetworkactive", state_wanted);
        EXPECT_EQ(set.result().flag(), on) << set.describe();
        metered.answered(action, set.ok() ? NetworkOutcome::done : NetworkOutcome::refused,
                         set.describe());
        EXPECT_EQ(network().network_active, on);
        EXPECT_TRUE(logged(node, on ? "SetNetworkActive: true\n" : "SetNetworkActive: false\n"));
        const RpcReply info = asker.call(endpoint, node.process->id(), "getnetworkinfo");
        EXPECT_EQ(info.result().member("connections").whole_number(), on ? 8 : 0);
    }
    EXPECT_FALSE(metered.paused());
    EXPECT_TRUE(asker.stop(endpoint, node.process->id()).ok());
    EXPECT_TRUE(node.process->wait_for_exit(10s));
    NodeStopTimes stops;
    const std::vector<std::string> lines = log_lines(node);
    ASSERT_TRUE(stops.take(std::vector<std::string_view>(lines.begin(), lines.end())))
        << "its stop is measured from its log";
    EXPECT_GE(stops.stops().back().took_ms, 2000);
    EXPECT_LE(stops.stops().back().took_ms, 3000);
    EXPECT_EQ(stops.stops().back().cache_mib, 12.5);

    RpcNode refusing(L"refusing rpc", port, L"--rpc-wrong-cookie");
    ASSERT_TRUE(wait_until([&] { return file_exists(refusing.cookie); }, 10s));
    const RpcReply refused =
        asker.call(endpoint_of(refusing, port), refusing.process->id(), "getblockchaininfo");
    EXPECT_EQ(refused.describe(), "the node refused ZV-KOB's credentials");
    EXPECT_TRUE(asker.stop(endpoint_of(refusing, port), refusing.process->id()).failure() ==
                RpcFailure::refused_credentials);
}

// Windows names the process that listens on a port, which decides whether
// the node's cookie may go there.
TEST(NodeRpc, TheListenerTableNamesTheProcessThatListens) {
    const Winsock winsock;
    const std::uint16_t port = free_loopback_port();
    TestSocket listening(AF_INET);
    ASSERT_EQ(listening.bind_loopback(port, false), port);
    ASSERT_TRUE(listening.listen_here());
    const PortListener found = Win32PortListeners().who_listens("127.0.0.1", port);
    EXPECT_EQ(found.kind, PortListener::Kind::listening) << found.failure;
    if (found.process_id == 0) {
        GTEST_SKIP() << "this system names no process for a listener (wine does not): the rule "
                        "for a named one is held by the unit tests";
    }
    EXPECT_EQ(found.process_id, GetCurrentProcessId());
}

}  // namespace
}  // namespace zvkob::win32
