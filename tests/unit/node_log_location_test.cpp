#include "core/node_log/node_log_location.hpp"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/processes/batch_node_line.hpp"
#include "core/processes/node_command_line.hpp"

namespace zvkob {
namespace {

using Strings = std::vector<std::string>;

TEST(CommandLineArguments, SplitAsWindowsProgramsSplitThem) {
    struct Case {
        std::string_view line;
        Strings arguments;
    };
    const Case cases[] = {
        {R"(-datadir="D:\Node Data" -x)", {R"(-datadir=D:\Node Data)", "-x"}},
        {"  a\tb  ", {"a", "b"}},
        {R"("-conf=C:\a b\c.conf")", {R"(-conf=C:\a b\c.conf)"}},
        {R"(C:\a\\b \\server\share)", {R"(C:\a\\b)", R"(\\server\share)"}},
        {R"(a\"b "c\\" "d""e" "")", {R"(a"b)", R"(c\)", R"(d"e)", ""}},
        {R"(-datadir="D:\x\" -testnet)", {R"(-datadir=D:\x" -testnet)"}},
        {"", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(command_line_arguments(c.line), c.arguments) << c.line;
    }
}

TEST(NodeCommandLine, ReadsTheOptionsAfterTheProgramAsTheNodeDoes) {
    const NodeCommandLine line = read_node_command_line(
        R"(call "C:\Program Files\Bitcoin\daemon\bitcoind.exe" -conf= --testnet -noprune )"
        R"(-nodebuglogfile=0 -datadir=D:\old -DataDir="D:\Node Data" stray)");
    EXPECT_EQ(line.program, R"(C:\Program Files\Bitcoin\daemon\bitcoind.exe)");
    const NodeOptions expected{{"conf", ""},
                               {"testnet", ""},
                               {"prune", "0"},
                               {"debuglogfile", "1"},
                               {"datadir", R"(D:\Node Data)"}};
    EXPECT_EQ(line.options, expected);
    EXPECT_TRUE(switch_is_on(line.options.at("testnet")));
    EXPECT_FALSE(switch_is_on("0"));
    EXPECT_FALSE(switch_is_on("no"));

    EXPECT_EQ(data_folder_named(R"("C:\n\bitcoind.exe" -testnet -datadir=D:\x)"), R"(D:\x)");
    EXPECT_EQ(data_folder_named(R"(C:\n\bitcoind.exe -datadir=)"), "");
    EXPECT_EQ(data_folder_named(R"(C:\n\bitcoind.exe -testnet)"), std::nullopt);
    EXPECT_EQ(data_folder_named(R"(calling.exe -datadir=E:\)"), R"(E:\)");
}

TEST(NodeLogLocation, FollowsTheCommandLineThenTheConfigurationFile) {
    const std::string call = R"(call "C:\Program Files\Bitcoin\daemon\bitcoind.exe" )";
    const std::map<std::string, std::string, std::less<>> files = {
        {R"(C:\BC-CONF\BTC\bitcoin.conf)",
         "\xEF\xBB\xBF# node settings\r\ndatadir = \"E:\\Chain Data\\\" # the big drive\r\n"
         "testnet=1\r\nrpcuser\r\n[test]\r\ndebuglogfile=logs\\node.log\r\n"
         "datadir=\"F:\\test\"\r\n[main]\r\ndebuglogfile=main.log\r\n"},
        {R"(C:\c\chain.conf)", "chain=signet\n[signet]\ndatadir=G:\\sig\n"},
        {R"(C:\c\bad-chain.conf)", "chain=mars\ndatadir=G:\\x\n"},
        {R"(C:\c\no-log.conf)", "datadir=C:\\d\nnodebuglogfile=1\n"},
        {R"(D:\x\rel.conf)", "regtest=1\ndebuglogfile=\\logs\\r.log\n"},
        {R"(D:\x\bitcoin.conf)", "testnet4=1\n"},
    };
    const ReadConfFile read_conf = [&](std::string_view path) -> std::optional<std::string> {
        const auto found = files.find(path);
        return found == files.end() ? std::nullopt : std::optional(found->second);
    };
    struct Case {
        std::string line;
        std::optional<std::string> log_path;
        NodeNetwork network;
        std::string why_none;
    };
    const Case cases[] = {
        {call + R"(-datadir="D:\Node Data\\" -disablewallet=0)", R"(D:\Node Data\debug.log)",
         NodeNetwork::main},
        // An empty value on the command line wins over the file's datadir=.
        {call + R"(-conf=C:\BC-CONF\BTC\bitcoin.conf -datadir= -disablewallet=1)", std::nullopt,
         NodeNetwork::main,
         "the node is started with an empty -datadir=, so it uses its own default data folder, "
         "which ZV-KOB does not guess: set the BLOCKCHAIN FOLDER in Settings"},
        {call + R"(-conf=C:\BC-CONF\BTC\bitcoin.conf -testnet=0)", R"(E:\Chain Data\main.log)",
         NodeNetwork::main},
        {call + R"(-conf=C:\BC-CONF\BTC\bitcoin.conf -datadir=D:\n -debuglogfile=C:\l\x.log)",
         R"(C:\l\x.log)", NodeNetwork::test},
        {R"("C:\n\bitcoin-qt.exe" -conf=C:\c\chain.conf)", R"(G:\sig\signet\debug.log)",
         NodeNetwork::signet},
        {R"("C:\n\bitcoin-qt.exe" -conf=C:\c\chain.conf -chain=main -datadir=H:\)",
         R"(H:\debug.log)", NodeNetwork::main},
        {call + R"(-conf=rel.conf -datadir=D:\x\)", R"(D:\logs\r.log)", NodeNetwork::regtest},
        {call + R"(-datadir=D:\x)", R"(D:\x\testnet4\debug.log)", NodeNetwork::testnet4},
        {R"("C:\n\bitcoin-qt.exe" -datadir=D:\x -conf=)", R"(D:\x\testnet4\debug.log)",
         NodeNetwork::testnet4},
        {call + R"(-datadir=\\nas\share\Bitcoin\ -regtest)",
         R"(\\nas\share\Bitcoin\regtest\debug.log)", NodeNetwork::regtest},
        {call + R"(-datadir=C:\Knoten\Größe -signet -debuglogfile=d.log)",
         R"(C:\Knoten\Größe\signet\d.log)", NodeNetwork::signet},
        {call + "-testnet", std::nullopt, NodeNetwork::test,
         "no data folder is set in ZV-KOB's settings or the node's configuration file"},
        {call + R"(-conf=C:\missing.conf)", std::nullopt, NodeNetwork::main,
         R"(no data folder is set in ZV-KOB's settings or the node's configuration file )"
         R"((C:\missing.conf cannot be read))"},
        {call + "-conf=rel.conf", std::nullopt, NodeNetwork::main,
         "no data folder is set in ZV-KOB's settings or the node's configuration file"},
        {call + R"(-conf=C:\c\no-log.conf)", std::nullopt, NodeNetwork::main,
         "the node runs with -nodebuglogfile"},
        {call + R"(-datadir=D:\n -debuglogfile=0)", std::nullopt, NodeNetwork::main,
         "the node runs with -nodebuglogfile"},
        {call + R"(-conf=C:\c\bad-chain.conf)", std::nullopt, NodeNetwork::main,
         "the node's chain=mars is not a network ZV-KOB knows"},
        {call + "-datadir=data", std::nullopt, NodeNetwork::main,
         "the node's data folder \"data\" is not a full path"},
    };
    for (const Case& c : cases) {
        const NodeLogLocation location = node_log_location(c.line, read_conf);
        EXPECT_EQ(location.log_path, c.log_path) << c.line;
        EXPECT_EQ(location.network, c.network) << c.line;
        EXPECT_EQ(location.why_none, c.why_none) << c.line;
    }
    EXPECT_EQ(network_name(NodeNetwork::test), "test");
}

TEST(BatchNodeLine, TakesTheLineThatNamesTheNodeProgram) {
    const std::string node_line =
        R"(call "C:\Program Files\Bitcoin\daemon\bitcoind.exe" -datadir=D:\x)";
    struct Case {
        std::string text;
        std::string line;
    };
    const Case cases[] = {
        {node_line + "\r\n", node_line},
        {"@echo off\r\nREM the node\r\n:: comment\r\ncd /d C:\\x\r\nset X=1\r\n\r\n@" + node_line +
             "\r\npause\r\n",
         node_line},
        {"@echo off\nstart-helper.exe\nC:\\n\\BITCOIND.EXE -testnet\n",
         R"(C:\n\BITCOIND.EXE -testnet)"},
        {"@echo off\nchcp 65001\nrun-my-node.cmd\n", "run-my-node.cmd"},
        {"@echo off\nsetlocal\n", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(batch_node_line(c.text, "bitcoind.exe"), c.line) << c.text;
    }
}

}  // namespace
}  // namespace zvkob
