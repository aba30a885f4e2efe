#pragma once
// A node of regtest in a folder of its own, for the tests that run Debian's
// litecoind as ZV-KOB's node (litecoind.exe stands for it under wine).
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "driver.hpp"
#include "loopback_sockets.hpp"

namespace zvkob::e2e {

inline bool real_node_installed() {
    return file_exists(L"Z:\\usr\\bin\\litecoind") && file_exists(L"Z:\\usr\\bin\\litecoin-cli");
}

// A word for sh, in single quotes.
inline std::string quoted(const std::string& word) {
    std::string out = "'";
    for (const char c : word) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

// Its configuration, its client and its process, however it was started.
struct RegtestNode {
    std::wstring data;  // its data folder
    std::wstring conf;
    std::uint16_t rpc_port = 0;
    std::uint16_t p2p_port = 0;

    // `more` goes to the [regtest] section (connect=, whitelist=, ...).
    void configure(const std::wstring& folder, const std::string& more = "") {
        data = folder + L"\\node data";
        conf = folder + L"\\litecoin.conf";
        CreateDirectoryW(data.c_str(), nullptr);
        rpc_port = free_loopback_port();
        p2p_port = free_loopback_port();
        write_file(conf,
                   "regtest=1\nserver=1\ndebug=http\ndebug=rpc\ndnsseed=0\ndiscover=0\n"
                   "upnp=0\nkeypool=1\nfallbackfee=0.0001\n"
                   "[regtest]\nrpcport=" +
                       std::to_string(rpc_port) + "\nport=" + std::to_string(p2p_port) + "\n" +
                       (more.empty() ? "connect=0\n" : more));
    }
    std::string client() const {
        return "/usr/bin/litecoin-cli -conf=" + quoted(unix_path(conf)) +
               " -datadir=" + quoted(unix_path(data));
    }
    // One call of litecoin-cli; its output, or "<failed: ...>".
    std::string cli(const std::string& arguments) const {
        const auto run = run_native(client() + " -rpcwait " + arguments, 120s);
        if (!run) {
            return "<failed: no end>";
        }
        std::string out = run->output;
        while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) {
            out.pop_back();
        }
        return run->exit_code == 0 ? out : "<failed: " + out + ">";
    }
    // Two wallets and a block of now: the node is synced.
    void wallets_and_a_block() const {
        EXPECT_EQ(cli("createwallet alpha").find("<failed"), std::string::npos);
        EXPECT_EQ(cli("createwallet beta").find("<failed"), std::string::npos);
        mine(1);
    }
    void mine(int blocks) const {
        const std::string address = cli("-rpcwallet=alpha getnewaddress");
        EXPECT_EQ(
            cli("generatetoaddress " + std::to_string(blocks) + " " + address).find("<failed"),
            std::string::npos);
    }
    std::string log() const { return read_file(data + L"\\regtest\\debug.log"); }
    // The node's own lines that say this, for the record beside ZV-KOB's.
    std::string log_lines(const std::vector<std::string>& words) const {
        std::string shown;
        const std::string text = log();
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t end = std::min(text.find('\n', at), text.size());
            const std::string line = text.substr(at, end - at);
            for (const std::string& word : words) {
                if (line.find(word) != std::string::npos) {
                    shown += "  node: " + line + "\n";
                    break;
                }
            }
            at = end + 1;
        }
        return shown;
    }
};


}  // namespace zvkob::e2e
