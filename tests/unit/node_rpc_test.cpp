// Calls to the node's RPC and what its replies come to, in both reply styles.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/node_rpc/rpc_credentials.hpp"
#include "core/node_rpc/rpc_reply.hpp"
#include "core/node_rpc/rpc_request.hpp"

namespace zvkob {
namespace {

using Texts = std::vector<std::string>;
constexpr std::int64_t call_id = 7;

std::string nested(int depth) {
    return std::string(static_cast<std::size_t>(depth), '[') +
           std::string(static_cast<std::size_t>(depth), ']');
}

struct ReplyCase {
    const char* what;
    int status;
    std::string body;
    RpcFailure failure;
    int code = 0;
};

TEST(RpcReply, IsReadInBothStylesWithEachKindOfFailure) {
    const std::string new_error =
        R"({"jsonrpc":"2.0","error":{"code":-32601,"message":"Method not found"},"id":7})";
    const std::string old_error =
        R"({"result":null,"error":{"code":-32601,"message":"Method not found"},"id":7})";
    const ReplyCase cases[] = {
        {"2.0 result", 200, R"({"jsonrpc":"2.0","result":{"blocks":5},"id":7})", RpcFailure::none},
        {"old result", 200, R"({"result":{"blocks":5},"error":null,"id":7})", RpcFailure::none},
        {"a null result", 200, R"({"result":null,"error":null,"id":7})", RpcFailure::none},
        {"2.0 error", 200, new_error, RpcFailure::rpc_error, -32601},
        {"old error, 404", 404, old_error, RpcFailure::rpc_error, -32601},
        {"old error, 500", 500, R"({"result":null,"error":{"code":-4,"message":"x"},"id":7})",
         RpcFailure::rpc_error, -4},
        {"a request it could not read", 400,
         R"({"result":null,"error":{"code":-32700,"message":"Parse error"},"id":null})",
         RpcFailure::rpc_error, -32700},
        {"no credentials", 401, "", RpcFailure::refused_credentials},
        {"wrong credentials", 401, "<html>401</html>", RpcFailure::refused_credentials},
        {"a full work queue", 503, "Work queue depth exceeded", RpcFailure::busy},
        {"cut short", 200, R"({"result":{"blocks":)", RpcFailure::malformed_reply},
        {"a page", 200, "<html></html>", RpcFailure::malformed_reply},
        {"an array", 200, "[1,2]", RpcFailure::malformed_reply},
        {"neither key", 200, R"({"id":7})", RpcFailure::malformed_reply},
        {"another call's reply", 200, R"({"result":1,"error":null,"id":8})",
         RpcFailure::malformed_reply},
        {"an error without a code", 500, R"({"result":null,"error":"bad","id":7})",
         RpcFailure::malformed_reply},
        {"something after it", 200, R"({"result":1,"id":7} x)", RpcFailure::malformed_reply},
        {"a zero byte inside", 200, std::string(R"({"result":"a)") + '\0' + R"("})",
         RpcFailure::malformed_reply},
        {"not UTF-8", 200, "{\"result\":\"\xC3\x28\",\"id\":7}", RpcFailure::malformed_reply},
        {"another server's page", 403, "<h1>Forbidden</h1>", RpcFailure::unexpected_status},
        {"a result with an error status", 500, R"({"result":1,"error":null,"id":7})",
         RpcFailure::unexpected_status},
        {"oversized", 200, R"({"result":")" + std::string(json_size_cap, 'x') + R"("})",
         RpcFailure::oversized_reply},
        {"deep but within the cap", 200, R"({"result":)" + nested(json_depth_cap - 1) + "}",
         RpcFailure::none},
        {"too deep", 200, R"({"result":)" + nested(json_depth_cap) + "}",
         RpcFailure::too_deep_reply},
        {"too deep for any parse", 200, nested(100'000), RpcFailure::too_deep_reply},
    };
    for (const ReplyCase& c : cases) {
        const RpcReply reply = RpcReply::from_http(c.status, c.body, call_id);
        EXPECT_EQ(reply.failure(), c.failure) << c.what;
        EXPECT_EQ(reply.error_code(), c.code) << c.what;
        EXPECT_EQ(reply.result().present(), c.failure == RpcFailure::none) << c.what;
        EXPECT_EQ(reply.http_status(), c.status) << c.what;
    }
}

// The node's phase is shown as it comes, in whatever words and language.
TEST(RpcReply, WarmUpGivesTheNodesOwnPhaseInBothStyles) {
    const std::string phases[] = {
        "RPC server started",          "Loading block index\u2026",       "Verifying blocks...",
        "Loading wallet\u2026",        "Pruning blockstore\u2026",        "Rewinding blocks...",
        "Loading P2P addresses\u2026", "Chargement de l\u2019index\u2026"};
    for (const std::string& phase : phases) {
        const std::string error = R"("error":{"code":-28,"message":")" + phase + R"("},"id":7})";
        for (const auto& [status, body] : {std::pair{200, R"({"jsonrpc":"2.0",)" + error},
                                           {500, R"({"result":null,)" + error}}) {
            const RpcReply reply = RpcReply::from_http(status, body, call_id);
            EXPECT_EQ(reply.failure(), RpcFailure::warming_up) << body;
            EXPECT_EQ(reply.message(), phase);
            EXPECT_EQ(reply.describe(), "the node is starting: " + phase);
        }
    }
    EXPECT_EQ(RpcReply::from_http(401, "", call_id).describe(),
              "the node refused ZV-KOB's credentials");
    const RpcReply lost = RpcReply::transport_failure("No connection could be made.");
    EXPECT_EQ(lost.failure(), RpcFailure::transport);
    EXPECT_EQ(lost.describe(), "No connection could be made.");
    EXPECT_EQ(RpcReply::oversized().failure(), RpcFailure::oversized_reply);
}

TEST(RpcReply, ResultIsReadThroughTypedGetters) {
    const RpcReply reply = RpcReply::from_http(200, R"({"result":{
        "chain":"main","blocks":850000,"verificationprogress":0.75,"initialblockdownload":true,
        "size_on_disk":18446744073709551615,"old_warnings":"","one_warning":"Unknown new rules",
        "warnings":["a","b"],"no_warnings":[],"odd_warnings":["a",1]},"error":null,"id":7})",
                                               call_id);
    ASSERT_TRUE(reply.ok()) << reply.describe();
    const JsonValue info = reply.result();
    EXPECT_EQ(info.member("chain").text(), "main");
    EXPECT_EQ(info.member("blocks").whole_number(), 850000);
    EXPECT_EQ(info.member("blocks").number(), 850000.0);
    EXPECT_EQ(info.member("verificationprogress").number(), 0.75);
    EXPECT_EQ(info.member("verificationprogress").whole_number(), std::nullopt);
    EXPECT_EQ(info.member("initialblockdownload").flag(), true);
    EXPECT_EQ(info.member("size_on_disk").whole_number(), std::nullopt) << "beyond 64 bits signed";
    EXPECT_EQ(info.member("old_warnings").texts(), Texts{});
    EXPECT_EQ(info.member("one_warning").texts(), Texts{"Unknown new rules"});
    EXPECT_EQ(info.member("warnings").texts(), (Texts{"a", "b"}));
    EXPECT_EQ(info.member("no_warnings").texts(), Texts{});
    EXPECT_EQ(info.member("odd_warnings").texts(), std::nullopt);
    EXPECT_EQ(info.member("chain").number(), std::nullopt) << "another type";
    EXPECT_EQ(info.member("blocks").text(), std::nullopt);
    EXPECT_FALSE(info.member("missing").present());
    EXPECT_EQ(info.member("missing").flag(), std::nullopt);
    EXPECT_FALSE(info.member("chain").member("inside a text").present());
}

TEST(RpcRequest, EscapesTextsThroughTheWriterAndRefusesBrokenUtf8) {
    const RpcParam backup[] = {RpcParam::text("C:\\Users\\Jos\xC3\xA9\\\"new\"\n.dat")};
    EXPECT_EQ(
        rpc_request_body("backupwallet", backup, 3),
        R"({"jsonrpc":"2.0","id":3,"method":"backupwallet","params":["C:\\Users\\José\\\"new\"\n.dat"]})");
    EXPECT_EQ(rpc_request_body("getblockchaininfo", {}, 1),
              R"({"jsonrpc":"2.0","id":1,"method":"getblockchaininfo","params":[]})");
    const RpcParam mixed[] = {RpcParam::number(-5), RpcParam::flag(true)};
    EXPECT_EQ(rpc_request_body("x", mixed, 2),
              R"({"jsonrpc":"2.0","id":2,"method":"x","params":[-5,true]})");
    const RpcParam broken[] = {RpcParam::text("C:\\\xC3")};
    EXPECT_EQ(rpc_request_body("backupwallet", broken, 4), std::nullopt);
}

TEST(RpcRequest, WalletPathsAndLoopbackAddresses) {
    EXPECT_EQ(rpc_wallet_path(""), "/wallet/");
    EXPECT_EQ(rpc_wallet_path("a-b_c.d~E9"), "/wallet/a-b_c.d~E9");
    EXPECT_EQ(rpc_wallet_path("my wallet/\xC3\xA9?#%"), "/wallet/my%20wallet%2F%C3%A9%3F%23%25");
    for (const char* address : {"127.0.0.1", "::1", "[::1]"}) {
        EXPECT_TRUE(is_loopback_literal(address)) << address;
    }
    for (const char* address : {"localhost", "127.0.0.2", "0.0.0.0", "", "127.0.0.1 ",
                                "::ffff:127.0.0.1", "0:0:0:0:0:0:0:1", "example.org"}) {
        EXPECT_FALSE(is_loopback_literal(address)) << address;
    }
}

TEST(RpcCredentials, OnlyTheNodesCookieBecomesABasicHeader) {
    const std::string header =
        "Basic X19jb29raWVfXzowMTIzNDU2Nzg5YWJjZGVmMDEyMzQ1Njc4OWFiY2RlZjAxMjM0NTY3ODlhYmNkZWYwMT"
        "IzNDU2Nzg5YWJjZGVm";
    const std::string hex = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";
    EXPECT_EQ(basic_credentials_from_cookie("__cookie__:" + hex), header);
    EXPECT_EQ(basic_credentials_from_cookie(" __cookie__:" + hex + "\r\n"), header) << "trimmed";
    EXPECT_EQ(basic_credentials_from_cookie("__cookie__:" + std::string(64, 'A')),
              "Basic X19jb29raWVfXzpBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFB"
              "QUFBQUFBQUFBQUFBQUFBQUFB");
    const std::string refused[] = {"",
                                   "__cookie__:" + hex.substr(1),
                                   "__cookie__:" + hex + "0",
                                   "__cookie__:" + hex.substr(1) + "g",
                                   "user:" + hex,
                                   "__cookie__:" + hex.substr(0, 32) + "\n" + hex.substr(33),
                                   "__cookie__ :" + hex};
    for (const std::string& text : refused) {
        EXPECT_EQ(basic_credentials_from_cookie(text), std::nullopt) << text;
    }
}

}  // namespace
}  // namespace zvkob
