#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/node_control.hpp"
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
    // Another copy holds it on this copy's data folder: it counts as running
    // (a second node on one folder would fail on its lock), and that copy
    // guards it.
    held_here,
    // It runs for another Windows user or in another session: it counts as
    // running, but it is never this copy's node.
    not_this_users,
};

struct NamesakeVerdict {
    Belonging belonging = Belonging::counts;
    std::string why;  // for the history: "another copy of ZV-KOB holds it"
};

// What is known about one process with the watched image name.
struct NamesakeFacts {
    std::optional<std::string> command_line;  // as Windows shows it; nothing where it shows none
    CopiesAnswer copies = CopiesAnswer::none_holds_it;
    ProcessOwner owner = ProcessOwner::this_user_here;
};

// The form a folder is compared by (FolderKeys::key, or folder_key).
using FolderKeyOf = std::function<std::string(std::string_view)>;

// The rule for one process: another user's or session's is never this
// copy's; another copy that holds it, or a command line (where Windows shows
// it) naming another data folder, puts it elsewhere.
NamesakeVerdict namesake_verdict(const NamesakeFacts& facts, std::string_view data_folder,
                                 const FolderKeyOf& key_of);

}  // namespace zvkob
