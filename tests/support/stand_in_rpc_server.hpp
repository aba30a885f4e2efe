#pragma once
// The stand-in node's RPC server, on when its command line has --rpc. It
// binds 127.0.0.1 and ::1 (--rpc-bind=127.0.0.1|::1|both), or 0.0.0.0 and ::
// as -rpcbind with -rpcallowip would (--rpc-bind=any), on -rpcport=<port>
// (else 8332, or 18332 with -testnet), writes its cookie as the node does
// (.cookie.tmp renamed to .cookie in the network's folder, or where
// -rpccookiefile says) and logs what the node logs about both. It answers
// HTTP/1.1 POSTs with Basic credentials one connection at a time: 401
// without them or, after a short pause, with wrong ones; error -28 with the
// node's start phases for --rpc-warmup=<seconds>; then getblockchaininfo,
// getnetworkinfo, getblockheader (of its tip), uptime, getrpcinfo,
// listwallets, backupwallet, setnetworkactive (stand_in_network.hpp) and stop.
// With --tip-hours-old=<N> its blocks are N hours older (a PC that slept with
// the node synced); with --rpc-no-tip-time getblockchaininfo leaves out the
// tip's time, as older nodes and forks do.
// Replies are JSON-RPC 2.0 to a 2.0 request, or in the older style of forks
// with --rpc-style=old. --rpc-peers=<count> (8), --rpc-warning=<text> and
// --rpc-wallet=<name> (each one loaded; else the default wallet "") shape the
// answers; --rpc-wrong-cookie makes it accept a cookie other than the one it
// writes. --rpc-slow=<method>:<seconds> carries that call out and answers it
// only after so many seconds, beside the other calls; -debug=rpc logs each
// call as the node does ("ThreadRPCServer method=<method> ...").
#include <functional>
#include <string>

namespace stand_in_rpc {

struct Node {
    std::wstring command_line;
    std::wstring network_folder;  // where the cookie goes
    std::wstring log_path;        // what getrpcinfo tells
    std::wstring stop_file;       // made when asked to stop, as a stop by file
    std::function<void(const char*)> log;
};

// Starts the server when the command line asks for one.
void start(Node node);
// Sleeps until the warm-up is over: a node loads before it catches up.
void wait_until_loaded();
// The height the node has reached, as its log says it.
void reached(long height);
// Stops serving and deletes the cookie, as a node does at its end.
void stop();

}  // namespace stand_in_rpc
