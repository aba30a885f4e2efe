#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/other_copies.hpp"

namespace zvkob {

// Where a process with the watched image name belongs, as far as this copy
// can tell. Two copies of ZV-KOB may guard two nodes of one program file,
// each with its own data folder; only the processes themselves know which is
// which.
enum class Belonging {
    this_copys,  // its command line names this copy's data folder (or, with none set, no other)
    counts,      // not known to belong elsewhere: it counts as running
    elsewhere,   // another copy holds it, or it names another data folder
    undecided,   // another copy did not answer yet: it counts, and is asked again
};

struct NamesakeVerdict {
    Belonging belonging = Belonging::counts;
    std::string why;  // for the history: "another copy of ZV-KOB holds it"
};

// The rule for one process: another copy that holds it, or a command line
// (where Windows shows it) naming another data folder, puts it elsewhere.
NamesakeVerdict namesake_verdict(const std::optional<std::string>& command_line,
                                 CopiesAnswer copies, std::string_view data_folder);

// The values of every -datadir= on a command line, as compared: without
// quotes or trailing backslashes, in lower case.
std::vector<std::string> data_folders_named(std::string_view command_line);

// A folder as compared with those a command line names.
std::string folder_key(std::string_view folder);

}  // namespace zvkob
