#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zvkob {

enum class NodeNetwork { main, test, testnet4, signet, regtest };

// The network's name as the node's chain= takes it: "main", "test", ...
std::string_view network_name(NodeNetwork network);

struct NodeCommandLine;

// The configuration file a node's command line makes it read: -conf (relative
// to its -datadir), else its program's own file in the data folder
// (bitcoind.exe and bitcoin-qt.exe read bitcoin.conf); empty when it cannot be told.
std::string node_conf_path(const NodeCommandLine& line);

// Where the node writes its own log, or why there is none to read.
struct NodeLogLocation {
    std::optional<std::string> log_path;
    std::string why_none;  // in words, when there is no log_path
    NodeNetwork network = NodeNetwork::main;
    std::string data_folder;  // as found; empty when none is known
    // Where the node keeps its block files: "blocks" in the network's folder,
    // below -blocksdir when that is set; empty when the data folder is not known.
    std::string blocks_folder;
};

// The text of a configuration file, or none when it is missing or unreadable.
using ReadConfFile = std::function<std::optional<std::string>(std::string_view path)>;

// Works out the log from the line the node was started with (a batch file's
// call line, or the node's own command line) and the configuration file that
// line names with -conf (relative to its -datadir), or else the one the node
// reads from its data folder (bitcoind.exe and bitcoin-qt.exe read
// bitcoin.conf). The command line wins over the file, and in the file the
// network's section over the top level. The log is debug.log in the
// network's folder (the data folder, or testnet3, testnet4, signet or regtest
// below it) unless -debuglogfile moves it (relative to the network's folder)
// or turns it off. A node's default data folder is never guessed: an empty
// -datadir= (ZV-KOB's batch line when its settings name no data folder) sends
// the node there, whatever the file's datadir= says, so there is no log to read.
NodeLogLocation node_log_location(std::string_view command_line, const ReadConfFile& read_conf);

}  // namespace zvkob
