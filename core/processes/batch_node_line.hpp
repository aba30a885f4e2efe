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

// Of a batch file that does nothing but start the node (blank lines,
// comments, labels and "echo off" aside), its node line; else the first
// line that does more, for a message.
struct LoneNodeLine {
    std::string line;     // empty when there is none, or it is not alone
    std::string command;  // the line without a leading "call": what a process starts
    std::string other;    // the first line that does more, or empty
};
LoneNodeLine lone_node_line(std::string_view batch_text, std::string_view image);

}  // namespace zvkob
