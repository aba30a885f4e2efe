#pragma once
#include <string>

namespace zvkob {

// An exit code as a node operator looks it up: in decimal below 0x80000000
// (what programs return themselves: 0, 1, 9009), in hex from there on, where
// Windows' status codes live, with the name of a well-known one
// ("0xC0000005, access violation").
std::string exit_code_text(unsigned long code);

}  // namespace zvkob
