// Where the node's RPC is, whom its cookie goes to, what its answers mean, and when to ask.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>
#include <string>
#include <vector>

#include "core/node_rpc/node_rpc_asker.hpp"
#include "core/node_rpc/node_rpc_progress.hpp"
#include "core/node_rpc/rpc_endpoint.hpp"
#include "core/node_state/node_state_merge.hpp"
#include "core/node_rpc/rpc_poll_schedule.hpp"
#include "core/node_state/wake_watch.hpp"
#include "guardian/node/node_rpc.hpp"
#include "fakes.hpp"

namespace zvkob {
namespace {

using Texts = std::vector<std::string>;
const std::string& cookie = testing::node_cookie;
const std::string other_cookie = "__cookie__:" + std::string(64, 'b');

struct EndpointCase {
    const char* what;
    std::string line;
    std::string conf;  // D:\n\bitcoin.conf
    Texts log;
    std::string no_rpc;  // a part of the reason, or "" when RPC is there
    int port = 0;
    Texts addresses;
    std::string cookie_path;
    Texts bound = {};  // where the log says the node holds the port
};

// Each network's own port, for each family of node: a test network's port
// moved by one would be another program's.
TEST(RpcEndpoint, TakesEachNetworksDefaultPortForEachFamily) {
    const std::tuple<const char*, const char*, int> cases[] = {
        {"bitcoind.exe", "", 8332},
        {"bitcoind.exe", "-chain=test", 18332},
        {"bitcoind.exe", "-chain=testnet4", 48332},
        {"bitcoind.exe", "-chain=signet", 38332},
        {"bitcoind.exe", "-chain=regtest", 18443},
        {"litecoind.exe", "", 9332},
        {"litecoind.exe", "-chain=test", 19332},
        {"litecoind.exe", "-chain=signet", 39332},
        {"litecoind.exe", "-chain=regtest", 19443},
        {"dogecoind.exe", "", 22555},
        {"dogecoind.exe", "-chain=test", 44555},
        {"dogecoind.exe", "-chain=regtest", 18443},
    };
    for (const auto& [program, network, port] : cases) {
        const std::string line = std::string("C:\\b\\") + program + " -datadir=D:\\n " + network;
        const RpcEndpoint endpoint = rpc_endpoint(
            line, [](std::string_view) { return std::optional<std::string>(); }, RpcLogFacts());
        EXPECT_EQ(endpoint.port, port) << line;
    }
}

TEST(RpcEndpoint, ComesFromTheLogThenTheLineAndFileThenTheDefaults) {
    const std::string daemon = R"(C:\b\bitcoind.exe -datadir=D:\n )";
    const Texts both{"127.0.0.1", "::1"};
    const EndpointCase cases[] = {
        {"defaults", daemon, "", {}, "", 8332, both, R"(D:\n\.cookie)"},
        {"testnet", daemon + "-testnet", "", {}, "", 18332, both, R"(D:\n\testnet3\.cookie)"},
        {"litecoin test",
         R"(C:\l\litecoind.exe -datadir=D:\n -testnet)",
         "",
         {},
         "",
         19332,
         both,
         R"(D:\n\testnet4\.cookie)"},
        {"dogecoin",
         R"(C:\d\dogecoind.exe -datadir=D:\n)",
         "",
         {},
         "",
         22555,
         both,
         R"(D:\n\.cookie)"},
        {"top-level rpcport is main's",
         daemon,
         "rpcport=1000\n",
         {},
         "",
         1000,
         both,
         R"(D:\n\.cookie)"},
        {"...not test's",
         daemon + "-testnet",
         "rpcport=1000\n",
         {},
         "",
         18332,
         both,
         R"(D:\n\testnet3\.cookie)"},
        {"test's section",
         daemon,
         "chain=test\n[test]\nrpcport=1001\n",
         {},
         "",
         1001,
         both,
         R"(D:\n\testnet3\.cookie)"},
        {"line over file, rpcbind's port",
         daemon + "-rpcport=5 -rpcbind=127.0.0.1:6 -rpcallowip=127.0.0.1",
         "rpcport=1000\n",
         {},
         "",
         6,
         both,
         R"(D:\n\.cookie)"},
        {"rpcbind without rpcallowip, which the node ignores",
         daemon + "-rpcbind=127.0.0.1:6",
         "",
         {},
         "",
         8332,
         both,
         R"(D:\n\.cookie)"},
        {"rpcbind at the top of the file is main's",
         daemon + "-testnet",
         "rpcallowip=10.0.0.0/8\nrpcbind=127.0.0.1:6\n",
         {},
         "",
         18332,
         both,
         R"(D:\n\testnet3\.cookie)"},
        {"rpcbind in test's section",
         daemon + "-testnet",
         "rpcallowip=10.0.0.0/8\n[test]\nrpcbind=127.0.0.1:7\n",
         {},
         "",
         7,
         both,
         R"(D:\n\testnet3\.cookie)"},
        {"relative cookie file",
         daemon + "-rpccookiefile=c.txt",
         "",
         {},
         "",
         8332,
         both,
         R"(D:\n\c.txt)"},
        {"log over the file",
         daemon,
         "rpcport=1000\n",
         {"2025-01-01T00:00:00Z Binding RPC on address ::1 port 7777",
          "2025-01-01T00:00:00Z Binding RPC on address 127.0.0.1 port 7777 failed.",
          "2025-01-01T00:00:01Z Generated RPC authentication cookie E:\\x\\.cookie\r"},
         "",
         7777,
         {"::1"},
         R"(E:\x\.cookie)",
         {"::1"}},
        {"an old node's times, a current node's prefixes and thread names",
         daemon,
         "rpcport=1000\n",
         {"2017-12-14 10:02:07.123456 Binding RPC on address ::1 port 7777",
          "2025-01-01T00:00:00Z [http] Binding RPC on address 127.0.0.1 port 7777 failed.",
          "2025-01-01T00:00:01Z [*] [init] Generated RPC authentication cookie E:\\x\\.cookie"},
         "",
         7777,
         {"::1"},
         R"(E:\x\.cookie)",
         {"::1"}},
        {"bound to all IPv4 addresses",
         daemon,
         "",
         {"Binding RPC on address 0.0.0.0 port 8332"},
         "",
         8332,
         {"127.0.0.1"},
         R"(D:\n\.cookie)",
         {}},
        {"0.0.0.0 failed: another program may hold 127.0.0.1",
         daemon,
         "",
         {"Binding RPC on address 0.0.0.0 port 8332", "Binding RPC on address :: port 8332",
          "Binding RPC on address 0.0.0.0 port 8332 failed."},
         "",
         8332,
         {"::1"},
         R"(D:\n\.cookie)"},
        {":: failed: another program may hold ::1",
         daemon,
         "",
         {"Binding RPC on address 0.0.0.0 port 8332", "Binding RPC on address :: port 8332",
          "Binding RPC on address :: port 8332 failed."},
         "",
         8332,
         {"127.0.0.1"},
         R"(D:\n\.cookie)"},
        {"both bound",
         daemon,
         "",
         {"Binding RPC on address ::1 port 8332", "Binding RPC on address 127.0.0.1 port 8332"},
         "",
         8332,
         both,
         R"(D:\n\.cookie)",
         both},
        {"an older node logs only its failures",
         daemon,
         "",
         {"Binding RPC on address ::1 port 8332 failed."},
         "",
         8332,
         {"127.0.0.1"},
         R"(D:\n\.cookie)"},
        {"rpcpassword", daemon, "rpcpassword=x\n", {}, "rpcpassword"},
        {"server=0", daemon, "server=0\n", {}, "server=0"},
        {"wallet program", R"(C:\b\bitcoin-qt.exe -datadir=D:\n)", "", {}, "without -server"},
        {"wallet program with -server",
         R"(C:\b\bitcoin-qt.exe -datadir=D:\n -server)",
         "",
         {},
         "",
         8332,
         both,
         R"(D:\n\.cookie)"},
        {"-norpccookiefile", daemon + "-norpccookiefile", "", {}, "norpccookiefile"},
        {"none bound", daemon, "", {"Unable to bind any endpoint for RPC server"}, "no address"},
        {"password in the log",
         daemon,
         "",
         {"Using rpcuser/rpcpassword authentication."},
         "rpcpassword"},
    };
    for (const EndpointCase& c : cases) {
        SCOPED_TRACE(c.what);
        RpcLogFacts log;
        log.feed("Binding RPC on address 127.0.0.1 port 1 failed.");  // an earlier run
        log.new_run();
        for (const std::string& line : c.log) {
            log.feed(line);
        }
        const auto read_conf = [&](std::string_view path) -> std::optional<std::string> {
            if (path.ends_with(".conf")) {
                return c.conf;
            }
            return std::nullopt;
        };
        const RpcEndpoint endpoint = rpc_endpoint(c.line, read_conf, log);
        if (!c.no_rpc.empty()) {
            EXPECT_NE(endpoint.no_rpc.find(c.no_rpc), std::string::npos) << endpoint.no_rpc;
            continue;
        }
        EXPECT_EQ(endpoint.no_rpc, "");
        EXPECT_EQ(endpoint.port, c.port);
        EXPECT_EQ(endpoint.addresses, c.addresses);
        EXPECT_EQ(endpoint.cookie_path, c.cookie_path);
        EXPECT_EQ(endpoint.bound_in_log, c.bound);
    }
}

// A fork outside the known families that names no port anywhere (Dash's
// 9998, logging no binds) is asked where its own process listens on a
// loopback address itself, before its family's default; a named port is
// asked alone.
TEST(RpcEndpoint, AForkThatNamesNoPortIsAskedWhereItsOwnProcessListens) {
    const auto read_conf = [](std::string_view) -> std::optional<std::string> {
        return std::string();
    };
    const std::string dash = R"("C:\Dash\dashd.exe" -datadir=D:\n)";
    RpcLogFacts quiet;
    const RpcEndpoint unnamed = rpc_endpoint(dash, read_conf, quiet);
    EXPECT_FALSE(unnamed.port_named);
    EXPECT_EQ(unnamed.port, 8332);
    const std::vector<LoopbackBind> own{{"::1", 7000},       {"127.0.0.1", 9998},
                                        {"::1", 9998},       {"0.0.0.0", 9999},
                                        {"127.0.0.1", 0},    {"127.0.0.1", 6000}};
    EXPECT_EQ(rpc_ports_to_try(unnamed, own), (std::vector<std::uint16_t>{9998, 6000, 7000, 8332}))
        << "bound to both loopbacks first; the wildcard (its P2P port) is not its RPC";
    EXPECT_EQ(rpc_ports_to_try(unnamed, {{"127.0.0.1", 8332}}), std::vector<std::uint16_t>{8332});
    EXPECT_EQ(rpc_ports_to_try(unnamed, {}), std::vector<std::uint16_t>{8332});

    for (const auto& [line, log_line] :
         {std::pair{dash + " -rpcport=9998", ""},
          std::pair{dash + " -rpcallowip=127.0.0.1 -rpcbind=127.0.0.1:9998", ""},
          std::pair{dash, "Binding RPC on address ::1 port 9998"}}) {
        RpcLogFacts log;
        log.feed(log_line);
        const RpcEndpoint named = rpc_endpoint(line, read_conf, log);
        EXPECT_TRUE(named.port_named) << line << log_line;
        EXPECT_EQ(rpc_ports_to_try(named, own), std::vector<std::uint16_t>{9998});
    }
}

using testing::ScriptedHttp;
using testing::ScriptedListeners;

struct AskerTest : ::testing::Test {
    ScriptedHttp http;
    ScriptedListeners listeners;
    testing::FakeFileSystem files;
    NodeRpcAsker asker{http, listeners, files};
    RpcEndpoint endpoint{"", 8332, {"127.0.0.1", "::1"}, R"(D:\n\.cookie)"};
    static constexpr unsigned long node = 42;

    void SetUp() override {
        files.text_files[endpoint.cookie_path] = cookie;
        listeners.elsewhere.process_id = node;  // Windows names the node as the listener
    }
    static HttpAnswer answer(int status, std::string body) {
        return {HttpOutcome::answered, status, std::move(body), ""};
    }
    void expect_no_cookie_in(const std::string& text) {
        EXPECT_EQ(text.find(std::string(64, 'a')), std::string::npos) << text;
        EXPECT_EQ(text.find("X19jb29r"), std::string::npos) << text;  // "__cook" in base64
    }
};

TEST_F(AskerTest, SendsTheCookieOnlyToTheNodesOwnListener) {
    listeners.by_address["127.0.0.1"] = {PortListener::Kind::listening, 7, ""};
    listeners.by_address["::1"] = {PortListener::Kind::nobody, 0, ""};
    const RpcReply reply = asker.stop(endpoint, node);
    EXPECT_TRUE(http.authorizations.empty());
    EXPECT_NE(reply.describe().find("another program (process 7)"), std::string::npos)
        << reply.describe();

    listeners.by_address["::1"] = {PortListener::Kind::listening, node, ""};
    http.answers = {answer(200, R"({"result":"stopping","error":null,"id":2})")};
    EXPECT_TRUE(asker.stop(endpoint, node).ok());
    EXPECT_EQ(http.addresses, Texts{"::1"});
}

// A call goes to the next address only when nothing was sent; once sent, its
// answer or the lack of one is the call's: 127.0.0.1 and ::1 are one node,
// and a stop or a backup sent twice is done twice.
TEST_F(AskerTest, SendsEachCallOnceAndMovesOnOnlyWhenNothingWasSent) {
    const HttpAnswer refused{HttpOutcome::failed, 0, "", "connection refused"};
    const HttpAnswer silent{HttpOutcome::no_answer, 0, "", ""};  // the time ran out
    struct Case {
        const char* what;
        std::vector<HttpAnswer> answers;
        Texts addresses;
        RpcFailure failure;
    };
    const Case cases[] = {
        {"refused, then the other address",
         {refused, answer(200, R"({"result":null})")},
         {"127.0.0.1", "::1"},
         RpcFailure::none},
        {"sent, no answer", {silent, answer(200, "")}, {"127.0.0.1"}, RpcFailure::no_answer},
        {"sent, cut off",
         {{HttpOutcome::no_answer, 0, "", "The connection was reset."}},
         {"127.0.0.1"},
         RpcFailure::no_answer},
        {"the node's error",
         {answer(500, R"({"result":null,"error":{"code":-4,"message":"x"}})")},
         {"127.0.0.1"},
         RpcFailure::rpc_error},
        {"busy", {answer(503, "")}, {"127.0.0.1"}, RpcFailure::busy},
        {"refused at both", {refused, refused}, {"127.0.0.1", "::1"}, RpcFailure::transport},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        http.addresses.clear();
        http.answers = c.answers;
        const RpcReply reply = asker.backup_wallet(endpoint, node, "w", "E:\\w.dat");
        EXPECT_EQ(http.addresses, c.addresses);
        EXPECT_EQ(reply.failure(), c.failure) << reply.describe();
        EXPECT_EQ(reply.may_have_been_acted_on(),
                  c.failure == RpcFailure::none || c.failure == RpcFailure::no_answer);
    }
    EXPECT_EQ(http.waits.back(), std::chrono::minutes(5)) << "a backup has minutes to answer";
    http.answers = {silent};
    const RpcReply stop = asker.stop(endpoint, node);
    EXPECT_EQ(http.waits.back(), std::chrono::seconds(5));
    EXPECT_EQ(stop.describe(), "no answer within 5 s");
    http.answers = {{HttpOutcome::no_answer, 0, "", "The connection was reset."}};
    EXPECT_EQ(asker.stop(endpoint, node).describe(),
              "no answer within 5 s (The connection was reset.)");
}

// The cookie goes only to the node's own listener. Where Windows names no
// process (wine), only to an address the node's log says it bound; a
// listener that cannot be looked up gets nothing.
// The node's own listeners are asked in turn for its state until one answers
// as its RPC, and that port is kept for every other call; the cookie never
// goes to a port the node does not listen on itself, and a named port is
// asked alone.
TEST_F(AskerTest, FindsTheRpcPortOfAForkAmongItsOwnListeners) {
    listeners.binds_of[node] = {{"127.0.0.1", 7000}, {"127.0.0.1", 9998}, {"::1", 9998}};
    http.respond = [&](const LoopbackPost& post) {
        if (post.port == 9998) {  // the reply carries the call's own id
            const std::string id(post.body.substr(post.body.find("\"id\":") + 5));
            return answer(200, R"({"result":{"chain":"main","blocks":5},"error":null,"id":)" +
                                   id.substr(0, id.find_first_of(",}")) + "}");
        }
        if (post.port == 7000) {
            return answer(404, "<html>not the node's RPC</html>");
        }
        return HttpAnswer{HttpOutcome::failed, 0, "", "connection refused"};
    };
    RpcEndpoint asked = endpoint;
    EXPECT_TRUE(asker.state(asked, node).chain.ok());
    EXPECT_EQ(asked.port, 9998);
    EXPECT_EQ(http.ports.front(), 9998) << "bound to both loopbacks: tried first";
    const RpcPoll poll = poll_node_rpc(endpoint, "", false, asker, node);
    EXPECT_EQ(poll.endpoint.port, 9998) << "where Stop Node and the backups ask it";

    listeners.binds_of[node] = {{"127.0.0.1", 7000}};
    http.ports.clear();
    asked = endpoint;
    EXPECT_FALSE(asker.state(asked, node).chain.ok());
    EXPECT_EQ(http.ports, (std::vector<std::uint16_t>{7000, 8332, 8332}))
        << "its own other listener, then the default at both addresses";

    listeners.binds_of.erase(node);  // another program listens on 9998: never tried
    http.ports.clear();
    asked = endpoint;
    asker.state(asked, node);
    EXPECT_EQ(std::count(http.ports.begin(), http.ports.end(), 9998), 0);

    listeners.binds_of[node] = {{"127.0.0.1", 9998}};
    http.ports.clear();
    asked = endpoint;
    asked.port_named = true;
    asker.state(asked, node);
    EXPECT_EQ(http.ports, (std::vector<std::uint16_t>{8332, 8332})) << "the node was told its port";
}

TEST_F(AskerTest, TheCookieGoesOnlyWhereNoDoubtRemains) {
    using Kind = PortListener::Kind;
    struct Case {
        PortListener listener;
        bool bound_in_log;
        std::string refusal;  // "" when the call is sent
    };
    const Case cases[] = {
        {{Kind::listening, node, ""}, false, ""},
        {{Kind::listening, 0, ""}, true, ""},
        {{Kind::listening, 0, ""},
         false,
         "cannot tell which program listens on port 8332 (Windows names none, and the node's "
         "log does not say it bound that address)"},
        {{Kind::listening, node + 1, ""},
         true,
         "another program (process 43) holds the node's RPC port 8332"},
        {{Kind::unknown, 0, "Access is denied."},
         true,
         "cannot tell which program listens on port 8332 (Access is denied.)"},
        {{Kind::nobody, 0, ""}, true, "nothing listens on the node's RPC port 8332"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refusal);
        RpcEndpoint one = endpoint;
        one.addresses = {"127.0.0.1"};
        one.bound_in_log = c.bound_in_log ? Texts{"127.0.0.1"} : Texts{};
        listeners.by_address["127.0.0.1"] = c.listener;
        http.authorizations.clear();
        http.answers = {answer(200, R"({"result":null})")};
        const RpcReply reply = asker.stop(one, node);
        EXPECT_EQ(http.authorizations.empty(), !c.refusal.empty());
        EXPECT_EQ(reply.ok() ? "" : reply.describe(), c.refusal);
    }
}

TEST_F(AskerTest, ReadsTheCookieAgainOnceWhenRefused) {
    files.text_files[endpoint.cookie_path] = other_cookie;
    http.on_post = [&] { files.text_files[endpoint.cookie_path] = cookie; };
    http.answers = {answer(401, ""), answer(200, R"({"result":[],"error":null,"id":1})")};
    EXPECT_TRUE(asker.list_wallets(endpoint, node).ok());
    ASSERT_EQ(http.authorizations.size(), 2U);
    EXPECT_NE(http.authorizations[0], http.authorizations[1]);

    http.answers = {answer(401, ""), answer(401, ""), answer(401, "")};
    const RpcReply refused = asker.list_wallets(endpoint, node);
    EXPECT_EQ(refused.describe(), "the node refused ZV-KOB's credentials");
    EXPECT_EQ(http.authorizations.size(), 4U);
}

TEST_F(AskerTest, NoFailureTextCarriesTheCookie) {
    const HttpAnswer answers[] = {
        answer(200, "{" + cookie),
        answer(200, std::string(json_size_cap + 1, ' ')),
        {HttpOutcome::oversized, 200, "", ""},
        answer(500, "<html>" + cookie + "</html>"),
        answer(401, ""),
        answer(503, ""),
    };
    for (const HttpAnswer& a : answers) {
        http.answers = {a, a, a, a};
        const RpcReply reply = asker.call(endpoint, node, "getblockchaininfo");
        EXPECT_FALSE(reply.ok());
        expect_no_cookie_in(reply.describe());
    }
    http.answers.clear();
    expect_no_cookie_in(asker.call(endpoint, node, "stop").describe());
    files.text_files[endpoint.cookie_path] = cookie + "zz";
    expect_no_cookie_in(asker.call(endpoint, node, "stop").describe());
}

RpcReply reply_of(const std::string& result) {
    return RpcReply::from_http(200, R"({"result":)" + result + R"(,"error":null,"id":1})", 1);
}

constexpr std::int64_t now_s = 1'700'000'000;
constexpr std::int64_t now_ms = now_s * 1000;

// Synced only while the tip is less than 90 minutes old, its time from
// getblockchaininfo, else from getblockheader; "initialblockdownload" false
// alone is not enough (it latches, and a PC that slept wakes with it false).
TEST(NodeRpcProgress, TellsTheStateFromTheNodesFigures) {
    struct Case {
        const char* what;
        RpcReply chain;
        NodeCondition condition;
        std::string warning = {};
        std::optional<RpcReply> header = std::nullopt;
    };
    const auto tip_at = [](std::int64_t age_s) { return std::to_string(now_s - age_s); };
    const std::string old_tip = tip_at(2 * 3600);
    const std::string new_tip = tip_at(60);
    Case cases[] = {
        {"catching up",
         reply_of(R"({"blocks":10,"headers":20,"verificationprogress":0.5,"time":)" + old_tip +
                  R"(,"initialblockdownload":true,"warnings":""})"),
         NodeCondition::catching_up, ""},
        {"tip young", reply_of(R"({"time":)" + new_tip + R"(,"warnings":["a","b"]})"),
         NodeCondition::synced, "a; b"},
        {"out of ibd, its tip two hours old",
         reply_of(R"({"time":)" + old_tip + R"(,"initialblockdownload":false,"warnings":"w"})"),
         NodeCondition::catching_up, "w"},
        {"out of ibd, its tip nine hours old",
         reply_of(R"({"time":)" + tip_at(9 * 3600) +
                  R"(,"initialblockdownload":false,"verificationprogress":1.0})"),
         NodeCondition::catching_up},
        {"tip 89 minutes old", reply_of(R"({"time":)" + tip_at(89 * 60 + 59) + "}"),
         NodeCondition::synced},
        {"tip 90 minutes old", reply_of(R"({"time":)" + tip_at(90 * 60) + "}"),
         NodeCondition::catching_up},
        {"no time: the header's, young",
         reply_of(R"({"bestblockhash":"00ab","initialblockdownload":true})"), NodeCondition::synced,
         "", reply_of(R"({"hash":"00ab","time":)" + new_tip + "}")},
        {"no time: the header's, nine hours old",
         reply_of(R"({"bestblockhash":"00ab","initialblockdownload":false})"),
         NodeCondition::catching_up, "", reply_of(R"({"time":)" + tip_at(9 * 3600) + "}")},
        {"no time at all, out of ibd and done by its estimate",
         reply_of(R"({"initialblockdownload":false,"verificationprogress":0.999995})"),
         NodeCondition::synced, "", RpcReply::from_http(404, "", 1)},
        {"no time at all, out of ibd but not done by its estimate",
         reply_of(R"({"initialblockdownload":false,"verificationprogress":0.99998})"),
         NodeCondition::catching_up},
        {"no time at all, in ibd",
         reply_of(R"({"initialblockdownload":true,"verificationprogress":1.0})"),
         NodeCondition::catching_up},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        NodeRpcProgress progress;
        const auto state = progress.update(c.chain, reply_of(R"({"connections":3})"), now_ms,
                                           c.header ? &*c.header : nullptr);
        ASSERT_TRUE(state);
        EXPECT_EQ(state->condition, c.condition);
        EXPECT_EQ(state->warning, c.warning);
        EXPECT_EQ(state->peers, 3);
    }
    EXPECT_EQ(tip_without_time(cases[6].chain), "00ab");
    EXPECT_EQ(tip_without_time(cases[0].chain), std::nullopt) << "its time is there";

    // How long a catch-up took is told with the state that ends it.
    NodeRpcProgress timed;
    ProgressTeller teller;
    ProgressNews news;
    const RpcReply network = reply_of(R"({"connections":3})");
    const auto catching_up_ms = [&](const RpcReply& chain, std::int64_t at_ms) {
        NodeProgressState state = *timed.update(chain, network, at_ms);
        teller.follow(state, at_ms, 0, news);
        return state.catching_up_ms;
    };
    catching_up_ms(cases[0].chain, now_ms);
    EXPECT_EQ(catching_up_ms(cases[0].chain, now_ms + 60'000), 60'000);
    EXPECT_EQ(catching_up_ms(cases[1].chain, now_ms + 90'000), 90'000)
        << "how long the catch-up took";
    EXPECT_FALSE(catching_up_ms(cases[1].chain, now_ms + 95'000));
    EXPECT_EQ(news.events.back(), "The node caught up after 1 min.");
    NodeRpcProgress progress;
    const auto state = progress.update(
        reply_of(R"({"blocks":10,"headers":20,"verificationprogress":0.5,"chain":"main",)"
                 R"("size_on_disk":123,"pruned":true})"),
        RpcReply::transport_failure("not asked"), now_ms);
    ASSERT_TRUE(state);
    EXPECT_EQ(state->height, 10);
    EXPECT_EQ(state->header_height, 20);
    EXPECT_EQ(progress.chain_facts().size_on_disk, 123);
    EXPECT_TRUE(progress.chain_facts().pruned);
    EXPECT_EQ(progress.chain_facts().chain, "main");
    EXPECT_FALSE(state->new_block_ms) << "the first answer's tip was not seen coming";
    const auto next = progress.update(reply_of(R"({"blocks":11})"), network, now_ms + 5'000);
    EXPECT_EQ(next->new_block_ms, now_ms + 5'000);
}

TEST(NodeRpcProgress, ShowsTheWarmUpMessageAsTheNodeGivesIt) {
    const std::pair<const char*, StartPhase> messages[] = {
        {"Loading block index…", StartPhase::loading},
        {"Verifying blocks...", StartPhase::verifying},
        {"RPC server started", StartPhase::opening},
        {"Chargement de l'index des blocs…", StartPhase::opening},
    };
    for (const auto& [message, phase] : messages) {
        NodeRpcProgress progress;
        const std::string body = std::string(R"({"result":null,"error":{"code":-28,"message":")") +
                                 message + R"("},"id":1})";
        const auto state = progress.update(RpcReply::from_http(500, body, 1),
                                           RpcReply::transport_failure("not asked"), now_ms);
        ASSERT_TRUE(state);
        EXPECT_EQ(state->condition, NodeCondition::starting);
        EXPECT_EQ(state->phase, phase) << message;
        EXPECT_EQ(state->detail, message);
    }
    NodeRpcProgress progress;
    EXPECT_FALSE(
        progress.update(RpcReply::from_http(503, "", 1), RpcReply::transport_failure(""), now_ms));
}

TEST(NodeRpcProgress, NoPeersForTenMinutesIsStuck) {
    NodeRpcProgress progress;
    const RpcReply chain = reply_of(R"({"time":)" + std::to_string(now_s) + "}");
    const RpcReply none = reply_of(R"({"connections":0})");
    EXPECT_EQ(progress.update(chain, none, now_ms)->condition, NodeCondition::synced);
    EXPECT_EQ(progress.update(chain, none, now_ms + no_peers_stuck_ms - 1)->condition,
              NodeCondition::synced);
    const auto stuck = progress.update(chain, none, now_ms + no_peers_stuck_ms);
    EXPECT_EQ(stuck->condition, NodeCondition::stuck);
    EXPECT_EQ(stuck->stuck_reason, StuckReason::no_peers);
    EXPECT_EQ(stuck->quiet_since_utc_ms, now_ms);
    EXPECT_EQ(progress.update(chain, reply_of(R"({"connections":1})"), now_ms + 1)->condition,
              NodeCondition::synced);
    EXPECT_EQ(progress.update(chain, none, now_ms + no_peers_stuck_ms + 1)->condition,
              NodeCondition::synced);
}

// One state from the node's log and its RPC: which source decides what.
TEST(NodeStateMerge, OneStateFromTheLogAndTheRpcByWrittenRules) {
    constexpr std::int64_t minute = 60'000;
    constexpr std::int64_t hour = 60 * minute;
    const auto state = [](NodeCondition condition, std::optional<std::int64_t> tip_age_ms) {
        NodeProgressState made;
        made.condition = condition;
        made.height = 100;
        if (tip_age_ms) {
            made.tip_utc_ms = now_ms - *tip_age_ms;
        }
        return made;
    };
    using C = NodeCondition;
    NodeProgressState rpc_synced = state(C::synced, 9 * hour);  // as at its answer's time
    rpc_synced.height = 150;
    rpc_synced.peers = 6;
    rpc_synced.warning = "from the RPC";
    NodeProgressState stalled = state(C::stuck, 2 * hour);
    stalled.quiet_since_utc_ms = now_ms - 2 * hour;
    NodeProgressState rpc_saw_a_block = rpc_synced;
    rpc_saw_a_block.new_block_ms = now_ms - minute;
    NodeProgressState failing = state(C::needs_attention, std::nullopt);
    failing.detail = "*** Failed to read block";
    NodeProgressState warming = state(C::starting, std::nullopt);
    warming.detail = "Verifying blocks…";
    NodeProgressState reindexing = state(C::starting, std::nullopt);
    reindexing.phase = StartPhase::reindexing;
    NodeProgressState no_peers = state(C::stuck, 10 * minute);
    no_peers.stuck_reason = StuckReason::no_peers;
    NodeProgressState rpc_without_tip = state(C::synced, std::nullopt);  // its estimate said so
    NodeProgressState rpc_paused = rpc_synced;  // its network paused on a metered link
    rpc_paused.network_active = false;
    NodeProgressState no_peers_paused = no_peers;
    no_peers_paused.network_active = false;
    const NodeProgressState log_latched = state(C::synced, 9 * hour);
    const NodeProgressState log_young = state(C::synced, 89 * minute);
    const NodeProgressState log_unknown = state(C::unknown, std::nullopt);
    struct Case {
        const char* what;
        const NodeProgressState* log;
        const NodeProgressState* rpc;
        NodeCondition condition;
        bool log_decides;
    };
    const NodeProgressState stopping = state(C::stopping, std::nullopt);
    const Case cases[] = {
        {"the RPC's tip nine hours old", &log_young, &rpc_synced, C::catching_up, false},
        {"the log's latched sync, its tip nine hours old", &log_latched, nullptr, C::catching_up,
         true},
        {"the log alone, its tip 89 minutes old", &log_young, nullptr, C::synced, true},
        {"no RPC tip: the log's date decides", &log_latched, &rpc_without_tip, C::catching_up,
         false},
        {"no tip anywhere: the RPC's estimate", &log_unknown, &rpc_without_tip, C::synced, false},
        {"an error line while the RPC answers", &failing, &rpc_synced, C::needs_attention, true},
        {"a shutdown while the RPC answers", &stopping, &rpc_synced, C::stopping, true},
        {"stalled with peers", &stalled, &rpc_synced, C::stuck, true},
        {"stalled, but the RPC saw a block since", &stalled, &rpc_saw_a_block, C::catching_up,
         false},
        {"a warm-up however long the log is quiet", &stalled, &warming, C::starting, false},
        {"a reindex the RPC has no word for", &reindexing, &rpc_synced, C::starting, true},
        {"no peers for ten minutes", &log_young, &no_peers, C::stuck, false},
        // A paused network takes no blocks by design: neither stuck nor
        // catching up for ever, whatever the tip's age; an error still shows.
        {"stalled, the network paused", &stalled, &rpc_paused, C::network_paused, false},
        {"no peers, the network paused", &log_young, &no_peers_paused, C::network_paused, false},
        {"an error line, the network paused", &failing, &rpc_paused, C::needs_attention, true},
        {"the RPC alone", nullptr, &rpc_synced, C::catching_up, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto merged = merged_node_state(c.log, c.rpc, now_ms);
        ASSERT_TRUE(merged);
        EXPECT_EQ(merged->state.condition, c.condition);
        EXPECT_EQ(merged->from_rpc, c.rpc != nullptr);
        EXPECT_EQ(merged->log_decides, c.log_decides);
        if (c.rpc != nullptr) {
            EXPECT_EQ(merged->state.height, c.rpc->height) << "the RPC's exact figures";
            EXPECT_EQ(merged->state.peers, c.rpc->peers);
        }
    }
    EXPECT_FALSE(merged_node_state(nullptr, nullptr, now_ms));
    const auto warm = merged_node_state(&stalled, &warming, now_ms);
    EXPECT_EQ(warm->state.detail, "Verifying blocks…") << "the node's own words";
    const auto figures = merged_node_state(&failing, &rpc_saw_a_block, now_ms);
    EXPECT_EQ(figures->state.detail, "*** Failed to read block");
    EXPECT_EQ(figures->state.warning, "from the RPC");
    EXPECT_EQ(figures->state.behind_ms, 9 * hour) << "aged to now";
    EXPECT_EQ(figures->state.last_block_ago_ms, minute);
    const auto stuck = merged_node_state(&stalled, &rpc_synced, now_ms + minute);
    EXPECT_EQ(stuck->state.quiet_ms, 2 * hour + minute) << "aged to now";
}

TEST(RpcPollSchedule, AsksEveryFiveSecondsAndBacksOffOnFailure) {
    RpcPollSchedule schedule;
    EXPECT_FALSE(schedule.due(0));
    schedule.node_running(0);
    EXPECT_TRUE(schedule.due(0));
    schedule.answered(0);
    EXPECT_FALSE(schedule.due(4'999));
    EXPECT_TRUE(schedule.due(5'000));
    std::int64_t now = 5'000;
    for (const std::int64_t wait : {5'000, 10'000, 20'000, 40'000, 60'000, 60'000}) {
        schedule.failed(now);
        EXPECT_FALSE(schedule.due(now + wait - 1));
        EXPECT_TRUE(schedule.due(now + wait));
        now += wait;
    }
    schedule.answered(now);
    EXPECT_TRUE(schedule.due(now + 5'000));
    schedule.failed(now);
    schedule.failed(now);
    schedule.ask_now(now + 1);  // the PC woke
    EXPECT_TRUE(schedule.due(now + 1));
    schedule.failed(now + 1);
    EXPECT_TRUE(schedule.due(now + 5'001)) << "its back-off begins anew";
    schedule.stop_asking();
    schedule.answered(now);
    schedule.ask_now(now);
    EXPECT_FALSE(schedule.due(now + 1'000'000)) << "a node with no RPC is not asked on a wake";
}

// A gap of a minute between two ticks (twice a second) is a wake; Windows'
// event and the gap of one wake tell it once.
TEST(WakeWatch, TellsEachWakeOnceByTheGapOrWindowsEvent) {
    WakeWatch watch;
    EXPECT_FALSE(watch.tick(0));
    EXPECT_FALSE(watch.tick(59'000)) << "59 s: a slow tick";
    EXPECT_EQ(watch.tick(119'000), 60'000);
    EXPECT_FALSE(watch.power_resumed(119'500)) << "the same wake";
    EXPECT_FALSE(watch.tick(120'000));
    EXPECT_EQ(watch.power_resumed(200'000), 80'000) << "a wake no gap told";
    EXPECT_FALSE(watch.tick(200'500)) << "nor is it told again by the next tick";
    EXPECT_EQ(watch.tick(200'500 + 9 * 3'600'000), 9 * 3'600'000) << "a night's sleep";
}

}  // namespace
}  // namespace zvkob
