#include "guardian/node/namesakes.hpp"

#include "core/processes/node_command_line.hpp"

namespace zvkob {
namespace {

// Judged by a command line Windows shows: with a data folder set, the one
// naming it is this copy's, one naming another is not, and one naming none
// uses the node's default folder, which is nobody's in particular. With none
// set, one naming no data folder (or an empty one) is this copy's.
NamesakeVerdict by_command_line(std::string_view command_line, std::string_view data_folder,
                                const FolderKeyOf& key_of) {
    const std::optional<std::string> named = data_folder_named(command_line);
    const bool names_one = named && !named->empty();
    if (data_folder.empty()) {
        return names_one ? NamesakeVerdict{Belonging::elsewhere,
                                           "its command line names a data "
                                           "folder, and this copy has none"}
                         : NamesakeVerdict{Belonging::this_copys,
                                           "its command line names no "
                                           "data folder, as this copy"};
    }
    if (names_one && key_of(*named) == key_of(data_folder)) {
        return {Belonging::this_copys,
                "its command line names this copy's data folder " + std::string(data_folder)};
    }
    if (names_one) {
        return {Belonging::elsewhere, "its command line names another data folder"};
    }
    return {Belonging::counts, "its command line names no data folder"};
}

std::optional<NamesakeVerdict> by_owner(ProcessOwner owner) {
    switch (owner) {
        case ProcessOwner::this_user_here:
            return std::nullopt;
        case ProcessOwner::another_user:
            return NamesakeVerdict{Belonging::not_this_users, "it runs for another Windows user"};
        case ProcessOwner::another_session:
            return NamesakeVerdict{Belonging::not_this_users, "it runs in another Windows session"};
        case ProcessOwner::unknown:
            break;
    }
    return NamesakeVerdict{Belonging::not_this_users, "Windows does not tell whose process it is"};
}

}  // namespace

NamesakeVerdict namesake_verdict(const NamesakeFacts& facts, std::string_view data_folder,
                                 const FolderKeyOf& key_of) {
    if (auto not_this_users = by_owner(facts.owner)) {
        return *not_this_users;
    }
    if (facts.copies == CopiesAnswer::another_holds_it) {
        return {Belonging::elsewhere, "another copy of ZV-KOB holds it as its node"};
    }
    if (facts.copies == CopiesAnswer::another_holds_it_here) {
        return {Belonging::held_here,
                "another copy of ZV-KOB holds it as its node, set to this copy's data folder"};
    }
    const bool unanswered = facts.copies == CopiesAnswer::one_did_not_answer;
    if (facts.command_line) {
        NamesakeVerdict verdict = by_command_line(*facts.command_line, data_folder, key_of);
        if (unanswered && verdict.belonging != Belonging::elsewhere) {
            return {Belonging::undecided, "another copy of ZV-KOB did not answer yet"};
        }
        return verdict;
    }
    if (unanswered) {
        return {Belonging::undecided, "another copy of ZV-KOB did not answer yet"};
    }
    // Windows shows no command line: with no data folder set, a process no
    // other copy holds is this copy's; with one set, it cannot be told.
    if (data_folder.empty()) {
        return {Belonging::this_copys, "no other copy of ZV-KOB holds it"};
    }
    return {Belonging::counts, "Windows does not show its command line"};
}

}  // namespace zvkob
