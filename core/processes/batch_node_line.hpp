#pragma once
#include <string>
#include <string_view>

namespace zvkob {

// The line of a batch file that starts the node: the first that names the
// node's program file `image` (call "C:\...\bitcoind.exe" -datadir=...), else
// the first that is not one of the lines a hand-edited batch file puts before
// it (@echo off, cd /d ..., set ..., rem ..., blank lines, labels). Empty when
// there is none.
std::string batch_node_line(std::string_view batch_text, std::string_view image);

}  // namespace zvkob
