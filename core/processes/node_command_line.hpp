#pragma once
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zvkob {

// The arguments of a command line, split the way Windows programs split
// theirs: spaces and tabs separate; double quotes group, also in the middle
// of an argument (-datadir="D:\Node Data"); inside quotes "" is one quote;
// backslashes are literal except before a quote, where each pair gives one
// and an odd one makes the quote literal.
std::vector<std::string> command_line_arguments(std::string_view command_line);

// A node option by its name without dashes, as the node reads it from
// "-name=value" on its command line or "name=value" in its configuration
// file: "noX" is X negated (noX gives X=0, noX=0 gives X=1); a name given
// without a value has an empty one, which as a switch means on.
struct NodeOption {
    std::string name;
    std::string value;
};
NodeOption node_option(std::string_view name, std::optional<std::string_view> value);

// Whether a switch's value turns it on: an empty value, or a number not 0.
bool switch_is_on(std::string_view value);

using NodeOptions = std::map<std::string, std::string, std::less<>>;

// What a node is started with: a batch file's line (call "C:\...\bitcoind.exe"
// -datadir=D:\x) or the node's own command line ("C:\...\bitcoind.exe" -testnet).
// A leading "call" is skipped; arguments that are not options are ignored.
struct NodeCommandLine {
    std::string program;  // empty when the line begins with an option
    NodeOptions options;  // the last of each name wins, as in the node
};
NodeCommandLine read_node_command_line(std::string_view command_line);

// The data folder a node's command line names with -datadir (the last one),
// possibly empty; none when it names none.
std::optional<std::string> data_folder_named(std::string_view command_line);

}  // namespace zvkob
