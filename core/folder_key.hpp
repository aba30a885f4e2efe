#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace zvkob {

// One folder may be written many ways: D:/Chain, D:\Chain\., d:\chain\,
// \\?\D:\Chain, D:\Node\..\Chain. Two copies of ZV-KOB and a node's command
// line must agree that these are one data folder.

// The folder written plainly: without quotes, with backslashes, without "."
// steps, ".." steps taken back (never above the root), repeated or trailing
// separators (a root keeps its own: D:\), or the \\?\ and \\.\ prefixes
// (\\?\UNC\server\share becomes \\server\share). Its case is kept, so that
// Windows can be asked about it.
std::string plain_folder(std::string_view folder);

// What folders are compared by: the plain folder in lower case.
std::string folder_key(std::string_view folder);

// A short mark of a folder's key, which copies of ZV-KOB exchange; never 0,
// which stands for no folder (an empty key).
std::uint32_t folder_mark(std::string_view key);

}  // namespace zvkob
