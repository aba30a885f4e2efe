#include "core/node_log/node_log_location.hpp"

#include <array>
#include <cctype>
#include <utility>

#include "core/instance_name.hpp"
#include "core/processes/node_command_line.hpp"
#include "core/processes/node_conf_file.hpp"
#include "core/windows_path.hpp"

namespace zvkob {
namespace {

struct NetworkFacts {
    NodeNetwork network;
    std::string_view chain;        // its chain= value and its section's name
    std::string_view switch_name;  // the option that chooses it alone
    std::string_view subfolder;    // below the data folder
};

// In the order the node gives its switches precedence.
constexpr std::array<NetworkFacts, 5> networks{{
    {NodeNetwork::regtest, "regtest", "regtest", "regtest"},
    {NodeNetwork::signet, "signet", "signet", "signet"},
    {NodeNetwork::testnet4, "testnet4", "testnet4", "testnet4"},
    {NodeNetwork::test, "test", "testnet", "testnet3"},
    {NodeNetwork::main, "main", "", ""},
}};

const NetworkFacts& facts_of(NodeNetwork network) {
    for (const NetworkFacts& facts : networks) {
        if (facts.network == network) {
            return facts;
        }
    }
    return networks.back();
}

// What the node was started with: its command line and configuration file.
class NodeSettings {
public:
    NodeSettings(NodeOptions command_line, NodeConf conf)
        : command_line_(std::move(command_line)), conf_(std::move(conf)) {}

    // From the command line, else the top level of the file.
    std::optional<std::string> top_level(std::string_view name) const {
        if (auto value = find(command_line_, name)) {
            return value;
        }
        return find(conf_.top_level, name);
    }

    // From the command line, else the network's section, else the top level.
    std::optional<std::string> of_network(std::string_view name, NodeNetwork network) const {
        if (auto value = find(command_line_, name)) {
            return value;
        }
        const auto section = conf_.sections.find(facts_of(network).chain);
        if (section != conf_.sections.end()) {
            if (auto value = find(section->second, name)) {
                return value;
            }
        }
        return find(conf_.top_level, name);
    }

private:
    static std::optional<std::string> find(const NodeOptions& options, std::string_view name) {
        const auto found = options.find(name);
        return found == options.end() ? std::nullopt : std::optional(found->second);
    }

    NodeOptions command_line_;
    NodeConf conf_;
};

// The network chosen, or none when chain= names one the node does not know.
std::optional<NodeNetwork> network_of(const NodeSettings& settings, std::string& chain) {
    for (const NetworkFacts& facts : networks) {
        const auto value =
            facts.switch_name.empty() ? std::nullopt : settings.top_level(facts.switch_name);
        if (value && switch_is_on(*value)) {
            return facts.network;
        }
    }
    chain = settings.top_level("chain").value_or("");
    if (chain.empty()) {
        return NodeNetwork::main;
    }
    for (const NetworkFacts& facts : networks) {
        if (facts.chain == chain) {
            return facts.network;
        }
    }
    return std::nullopt;
}

// The file the node reads by default: bitcoin.conf for bitcoind.exe and bitcoin-qt.exe.
std::string default_conf_name(std::string_view program) {
    std::string name;
    for (const char c : instance_name_from_path(program)) {
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (name.ends_with("-qt")) {
        name.resize(name.size() - 3);
    } else if (name.ends_with('d')) {
        name.pop_back();
    }
    return name.empty() ? name : name + ".conf";
}

}  // namespace

std::string node_conf_path(const NodeCommandLine& line) {
    const auto named = line.options.find("conf");
    const auto data_folder = line.options.find("datadir");
    const std::string conf = named == line.options.end() ? "" : named->second;
    if (conf == "0") {
        return {};
    }
    if (is_absolute_path(conf)) {
        return conf;
    }
    if (data_folder == line.options.end() || !is_absolute_path(data_folder->second)) {
        return {};
    }
    const std::string file = conf.empty() ? default_conf_name(line.program) : conf;
    return file.empty() ? file : path_from_folder(data_folder->second, file);
}

namespace {

constexpr std::string_view empty_data_folder =
    "the node is started with an empty -datadir=, so it uses its own default data folder, which "
    "ZV-KOB does not guess: set the BLOCKCHAIN FOLDER in Settings";

NodeLogLocation no_log(NodeLogLocation location, std::string_view why) {
    location.why_none = why;
    return location;
}

// `unread` tells of a configuration file that could not be read.
NodeLogLocation log_location(const NodeSettings& settings, std::string_view unread) {
    NodeLogLocation location;
    std::string chain;
    const auto network = network_of(settings, chain);
    if (!network) {
        return no_log(location, "the node's chain=" + chain + " is not a network ZV-KOB knows");
    }
    location.network = *network;
    location.data_folder = settings.of_network("datadir", *network).value_or("");
    if (location.data_folder.empty()) {
        return no_log(location,
                      "no data folder is set in ZV-KOB's settings or the node's configuration "
                      "file" +
                          std::string(unread));
    }
    if (!is_absolute_path(location.data_folder)) {
        return no_log(location,
                      "the node's data folder \"" + location.data_folder + "\" is not a full path");
    }
    const std::string_view subfolder = facts_of(*network).subfolder;
    const auto below = [subfolder](const std::string& folder) {
        return subfolder.empty() ? folder : path_from_folder(folder, subfolder);
    };
    const std::string network_folder = below(location.data_folder);
    const std::string blocks_root = settings.of_network("blocksdir", *network).value_or("");
    location.blocks_folder = path_from_folder(
        is_absolute_path(blocks_root) ? below(blocks_root) : network_folder, "blocks");
    const std::string log_file = settings.of_network("debuglogfile", *network).value_or("");
    if (log_file == "0") {
        return no_log(location, "the node runs with -nodebuglogfile");
    }
    location.log_path = path_from_folder(network_folder, log_file.empty() ? "debug.log" : log_file);
    return location;
}

}  // namespace

std::string_view network_name(NodeNetwork network) {
    return facts_of(network).chain;
}

NodeLogLocation node_log_location(std::string_view command_line, const ReadConfFile& read_conf) {
    NodeCommandLine line = read_node_command_line(command_line);
    // A value on the command line wins over the file's, empty or not, and an
    // empty -datadir= sends the node to its own default data folder.
    if (const auto data_folder = line.options.find("datadir");
        data_folder != line.options.end() && data_folder->second.empty()) {
        return no_log(NodeLogLocation{}, empty_data_folder);
    }
    const std::string conf_path = node_conf_path(line);
    const auto conf_text = conf_path.empty() ? std::nullopt : read_conf(conf_path);
    const std::string unread =
        conf_path.empty() || conf_text ? "" : " (" + conf_path + " cannot be read)";
    return log_location(
        NodeSettings(std::move(line.options), read_node_conf(conf_text.value_or(""))), unread);
}

}  // namespace zvkob
