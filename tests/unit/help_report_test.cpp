// "Copy a Report for Help": what the report holds and masks, and how the
// window hands it out.
#include <gtest/gtest.h>

#include "core/care/help_report.hpp"
#include "core/care/report_masking.hpp"
#include "core/time_text.hpp"
#include "main_window/window_menu.hpp"
#include "report_logs.hpp"
#include "watched_window.hpp"

namespace zvkob {
namespace {

constexpr std::int64_t second = 1000;
constexpr std::int64_t day = 86'400 * second;
constexpr std::int64_t now_ms = 1'800'000'000'000;  // 2027-01-15T08:00:00Z

std::string report_of(std::string_view log, std::string history = {},
                      std::vector<std::string> wallets = {}) {
    HelpReportFacts facts{.made_at = "2027-01-15T09:00:00+01:00",
                          .program = "The DAEMON program (bitcoind.exe, process 5000)",
                          .node_runs = true,
                          .node_state = "Synced \xC2\xB7 height 870,000\nFrom the node's RPC",
                          .ticks = {{"Keep Node Running", true}, {"Auto Start", false}},
                          .data_folder_set = true,
                          .wallets = std::move(wallets),
                          .now_ms = now_ms};
    HelpReportFiles files{.network = "main",
                          .log_path = R"(C:\Users\Jo Doe\AppData\Roaming\Bitcoin\debug.log)",
                          .log_text = std::string(log),
                          .log_from_start = true,
                          .history_text = std::move(history)};
    return help_report(facts, files);
}

void expect_none_left(const std::string& report, std::initializer_list<std::string_view> items) {
    for (const std::string_view item : items) {
        EXPECT_EQ(report.find(item), std::string::npos) << "left in the report: " << item;
    }
}

void expect_kept(const std::string& report, std::initializer_list<std::string_view> items) {
    for (const std::string_view item : items) {
        EXPECT_NE(report.find(item), std::string::npos) << "masked away: " << item;
    }
}

TEST(HelpReport, LeavesNoneOfTheItemsPlantedInAMadeUpLog) {
    const std::string report = report_of(testing::planted_node_log);
    expect_none_left(
        report,
        {// user and folder names in Windows, UNC and Linux paths
         "Jo Doe", "jodoe", "NAS-OF-JO", "chainshare", "Node Files", "Documents", "node backups",
         "w.dat", "private stuff", "jo-notes",
         // secrets, left out whole
         "hunter2", "f00dfeed", "__cookie__:", "4f2ab0c1",
         // wallet names, in brackets, paths, quotes and requests
         "Cold Storage", "Hot Wallet", "Hot%20Wallet",
         // IPv4 and IPv6 addresses, onion and I2P names
         "203.0.113.77", "198.51.100.23", "2001:db8", "8a2e:370:7334", "fe80", "pg6mmjiyjmcrsslv",
         "vww6ybal4bd7szmg", "ukeu3k5oycgaaune",
         // addresses of Bitcoin and its forks, base58 and bech32
         "bc1qar0srrr7xfkvy5l643lydnw9re59gtzzwf5mdq", "3J98t1WpEZ73CNmQviecrnyiWrnqRhWNLy",
         "1BvBMSEYstWetqTFn5Au4m4GFg7xJaNVN2", "tb1qw508d6qejxtdg4y5r3zarvary0c5xw7kxpjzsx",
         "ltc1qg82wzjvstx2yyd4jkmpgyjksxmjfqwn3u2nmkg", "MQMcJhpWHYVeQArcZR3sBgyPZxxRtnH441",
         "DH5yaieqoZN36fDVciNyRueRGvGLR3mr7L",
         // transaction ids, a wallet's key id, descriptors, extended and private keys
         "7e2a9b3c4d5e6f70", "9f2c3a1b8e7d6c5b", "3a4b5c6d7e8f90a1", "d34db33f", "xpub6DJ2dNUysrn5",
         "cjjspncu", "tprv8ZgxMBicQKsP", "cVt4o7BGAig1UXyw"});
    expect_kept(report,
                {"Bitcoin Core version v29.0.0", R"(C:\Users\<user>\AppData\Roaming\Bitcoin)",
                 "new best=00000000000000000001a0a448d6cf2546b06801389cc030b2b18c6491266815",
                 "bad-txns-inputs-missingorspent", "[<IPv6 1>]:8333 peer=2",
                 "/wallet/<wallet 2> from 127.0.0.1:50000", "[default wallet] Sent to",
                 "Got service ID <onion 1>, advertising service <onion 1>:8333",
                 "5 lines are left out here", "1 line is left out here"});
}

// The real node's log: what helps stays, nothing of its user does.
TEST(HelpReport, MasksARealNodesLogAndKeepsWhatHelps) {
    const std::string report = report_of(testing::real_node_log);
    expect_none_left(report, {"Jo Doe", "zvkob-ltc", "node data", "savings", "192.0.2.44",
                              "4c1a7ee298", "dea29a6114", "f094d5abb2", "87edad7cf7", "842d13c1bf",
                              "5b78f69f7dfa", "47304402207f", "nValue", "61cc36a8f45c63a7"});
    expect_kept(
        report,
        {"Version: Litecoin Core version "
         "v0.21.2.1-gfce5d459f0a83f56a83059c5c69295d7745b51d2 (release build)",
         "hashBestChain=ea21676a644f7e154589bb90d091e90446e87855f1721283d721ed93bdcad394",
         "Binding RPC on address ::1 port 19543", "Bound to [::]:19544", "Bound to 0.0.0.0:19544",
         "peeraddr=127.0.0.1:47998", "Using data directory /tmp/<folder>/<folder>/<folder>/regtest",
         "/regtest/wallets/<wallet 1>/wallet.dat", "litecoin.conf (not found, skipping)",
         "connect() to <IPv4 1>:19544 failed", "POST request for /wallet/<wallet 1> from",
         "[shutoff] [<wallet 1>] Releasing wallet", "[shutoff] Shutdown: done",
         "AddToWallet <txid 1>  newupdate", "Submitting wtx <txid 1> to mempool",
         "5 lines are left out here"});
}

TEST(HelpReport, EachMaskingRuleStopsAtItsEdge) {
    const std::string h64 = "ea21676a644f7e154589bb90d091e90446e87855f1721283d721ed93bdcad394";
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"to 255.1.2.3:8333", "to <IPv4 1>:8333"},
        {"to 256.1.2.3:8333", "to 256.1.2.3:8333"},
        {"on 127.0.0.1 and 0.0.0.0", "on 127.0.0.1 and 0.0.0.0"},
        {"version 0.21.2.1 here", "version 0.21.2.1 here"},
        {"on ::1 port", "on ::1 port"},
        {"on ::2 port", "on <IPv6 1> port"},
        {"at 14:58:31 and 12:00", "at 14:58:31 and 12:00"},
        {"key abcdef1234 end", "key <hex 1> end"},
        {"key abcdef123 end", "key abcdef123 end"},
        {"to 1BvBMSEYstWetqTFn5Au4m4GF.", "to <address 1>."},
        {"to 1BvBMSEYstWetqTFn5Au4m4G.", "to 1BvBMSEYstWetqTFn5Au4m4G."},
        {"to bc1qar0srrr7xf.", "to <address 1>."},
        {"to bc1qar0srrr7x.", "to bc1qar0srrr7x."},
        {"new best=" + h64 + " height=1", "new best=" + h64 + " height=1"},
        {"AddToWallet " + h64 + " new", "AddToWallet <txid 1> new"},
        {"Using /16 prefix", "Using /16 prefix"},
        {"in /home/jo", "in /home/<user>"},
        {R"(exclude D:\My Chain from scanning)", R"(exclude D:\<folder> from scanning)"},
        {R"(in D:\Letters to Jo\x from C:\y)", R"(in D:\<folder>\<folder> from C:\<folder>)"},
        {"pk(02ab) or pk(02abcdef0123456789abcdef)", "pk(02ab) or <descriptor>"},
        {"[httpworker.12] [net:debug] x", "[httpworker.12] [net:debug] x"},
        {"[init] [savings] x", "[init] [<wallet 1>] x"},
        {"Config file arg: server=1", std::nullopt},
        {"rpcauth is set", std::nullopt},
    };
    for (const auto& [line, expected] : cases) {
        ReportMasking masking;
        const auto masked = masking.masked("2027-01-14T08:00:00Z " + line);
        ASSERT_EQ(masked.has_value(), expected.has_value()) << line;
        if (expected) {
            EXPECT_EQ(*masked, "2027-01-14T08:00:00Z " + *expected) << line;
        }
    }
    EXPECT_FALSE(ReportMasking().masked("    CTxOut(nValue=1.50000000, scriptPubKey=76a914)"))
        << "a wallet's transaction, as the node dumps it";
    const std::vector<std::string> from_rpc{"Savings 2"};
    ReportMasking told(from_rpc);  // from the node's RPC: masked in quotes too
    EXPECT_EQ(told.masked("Loading wallet 'Savings 2'..."), "Loading wallet '<wallet 1>'...");
}

// The end of the run before the last start (how it stopped), the start, and
// the log's end; a gap says how many lines it leaves out.
TEST(HelpReport, ShowsTheLogAroundItsLastStartAndStop) {
    std::string log;
    const auto run = [&log](char name, int lines) {
        log += "2027-01-14T08:00:00Z Bitcoin Core version v29.0.0 (release build)\n";
        for (int at = 1; at < lines; ++at) {
            log +=
                "2027-01-14T08:00:00Z " + std::string(1, name) + " " + std::to_string(at) + ";\n";
        }
    };
    run('A', 100);
    log += "\n\n\n\n\n";
    run('B', 300);
    const std::string report = report_of(log);
    expect_kept(report, {"(70 lines not shown)\r\n", "A 70;", "A 99;", "B 39;",
                         "(180 lines not shown)\r\n", "B 220;", "B 299;"});
    expect_none_left(report, {"A 69;", "B 40;", "B 219;"});
}

TEST(HelpReport, TakesTheHistorysLastDaysAboutTheNodeAndStaysWithinItsSize) {
    const auto stamped = [](std::int64_t ago_ms, const std::string& text) {
        return iso_local_time(local_time_at(now_ms - ago_ms, 60)) + " " + text + "\n";
    };
    const std::string history =
        stamped(7 * day + second, "The DAEMON program stopped: too old.") +
        stamped(7 * day, "The DAEMON program stopped: in time.") + stamped(day, "Settings saved.") +
        stamped(day,
                "Keep Node Running: the DAEMON program (bitcoind.exe) stopped unexpectedly "
                "(C:\\Users\\Jo\\node\\debug.log has no shutdown line). It is started again.");
    const std::string report = report_of("", history);
    expect_kept(report, {"stopped: in time.", "(C:\\Users\\<user>\\<folder>\\debug.log has no"});
    expect_none_left(report, {"too old", "Settings saved", "\\Jo\\"});

    HelpReportFacts huge;
    for (int line = 0; line < 3'000; ++line) {
        huge.node_state += "a long line of the tooltip " + std::string(80, 'x') + "\n";
    }
    const std::string cut = help_report(huge, {});
    EXPECT_LE(cut.size(), help_report_most_bytes);
    EXPECT_TRUE(cut.ends_with("(the report was cut at 256 KiB)\r\n"));
}

// The window's side: on the worker, then the clipboard and one message.
struct ReportedNode : testing::LaunchedDaemon {
    ReportedNode() : LaunchedDaemon({"KEEP_NODE_RUNNING"}) {
        files.ends[R"(D:\Chain\debug.log)"] = {std::string(testing::real_node_log), true, {}};
        files.ends[history.path()] = {
            iso_local_time(local_time_at(clock.now - 3'600'000, 60)) +
                " The DAEMON program (bitcoind.exe, process 4000) stopped after 2 h (exit code "
                "0xC0000005, access violation).\n",
            true,
            {}};
    }
    const std::string report_path = R"(C:\Users\node\AppData\Local\ZV-KOB\ZV-KOB.report.txt)";
    std::string written() { return files.text_files[report_path]; }
    const std::string& told() const { return notifier.messages.back(); }
};

TEST(CopyReportForHelp, WritesTheReportBesideTheHistoryAndPutsItOnTheClipboard) {
    ReportedNode f;
    f.background.held_lanes = {Lane::disk};
    copy_report_clicked(f.w);
    EXPECT_TRUE(f.notifier.messages.empty()) << "the files are read on the worker";
    f.background.held_lanes.clear();
    f.background.release_all();
    const std::string report = f.written();
    EXPECT_EQ(f.clipboard.text, report);
    EXPECT_LE(report.size(), help_report_most_bytes);
    EXPECT_EQ(f.told(), "ZV-KOB copied a report for help to the clipboard and wrote it to " +
                            f.report_path +
                            ".\n\nPaste it where you ask for help. Addresses, names, paths, "
                            "wallets and transaction ids are masked in it, and lines that may "
                            "hold a password are left out; read it before you share it.");
    EXPECT_TRUE(f.history.holds("A report for help was written to " + f.report_path +
                                " and copied to the clipboard."));
    expect_kept(report,
                {"The DAEMON program (bitcoind.exe, process 5000): running", "Network: main",
                 "Keep Node Running: on", "DAEMON: on", "Stop Node Safely at Sign-out: off",
                 "BLOCKCHAIN FOLDER: set", "Shutdown: done",
                 "process 4000) stopped after 2 h (exit code 0xC0000005"});
    expect_none_left(report, {"D:\\Chain", "savings"});
}

TEST(CopyReportForHelp, SaysWhereItIsWhenTheClipboardOrTheFileFails) {
    ReportedNode busy;
    busy.clipboard.answer = {ClipboardPut::Result::busy, "Access is denied."};
    copy_report_clicked(busy.w);
    EXPECT_FALSE(busy.written().empty());
    EXPECT_TRUE(busy.told().starts_with(
        "Another program holds the clipboard, so ZV-KOB wrote the report for help only to " +
        busy.report_path + ".\n\nOpen that file"));

    ReportedNode unwritten;
    unwritten.records.refusal = "Access is denied.";
    copy_report_clicked(unwritten.w);
    EXPECT_TRUE(unwritten.clipboard.text.has_value());
    EXPECT_TRUE(unwritten.told().starts_with(
        "ZV-KOB copied a report for help to the clipboard. It could not write it to " +
        unwritten.report_path + ": Access is denied."));

    ReportedNode neither;
    neither.records.refusal = "The disk is full.";
    neither.clipboard.answer = {ClipboardPut::Result::failed, "Not enough memory."};
    copy_report_clicked(neither.w);
    EXPECT_EQ(neither.told(),
              "ZV-KOB could not hand out the report for help: the clipboard refused it (Not "
              "enough memory.), and it could not write " +
                  neither.report_path + ": The disk is full.\n\nTry again in a moment.");
    EXPECT_TRUE(neither.history.holds("A report for help could not be written to"));
}

}  // namespace
}  // namespace zvkob
