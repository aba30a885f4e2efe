#pragma once
#include <string>
#include <string_view>

#include "core/care/mask_names.hpp"

namespace zvkob {

// `text` with the names in every path masked: Windows paths (C:\..., C:/...),
// UNC paths (\\server\share\...) and Linux paths (/home/..., ~/...; at least
// two names deep, so that "/16 prefix" is no path). A name of the node's own
// files and folders, of Windows' standard folders and of programs (.exe,
// .bat) stays; the name after Users or home becomes "<user>", a wallet's
// (after wallets, or one `names` knows) "<wallet 1>", any other "<folder>"
// (a file's: "<file>" with its extension). A path runs to the end of the
// line, a quote, ": ", ", ", " (" or a word with "=" after a space, or a
// space after a file's name: "Config file: C:\...\bitcoin.conf (not found,
// skipping)" keeps its words.
std::string mask_paths(std::string_view text, MaskNames& names);

}  // namespace zvkob
