#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "guardian/node/folder_keys.hpp"
#include "guardian/node/namesakes.hpp"
#include "guardian/node/node_life.hpp"
#include "guardian/node/node_rpc.hpp"
#include "platform/history.hpp"
#include "platform/node_control.hpp"
#include "platform/other_copies.hpp"
#include "platform/process_probe.hpp"

namespace zvkob {

// Who asked for a start of a node program: the user (LAUNCH; the countdown
// of START or Auto Start), or the guardian (Keep Node Running's restart, the
// battery stop's restart on mains power, both through the countdown).
enum class StartRequest { launch, countdown, keep_node_running, mains_restart };

// What following the node at a watcher tick needs from the window.
struct NodeWatch {
    NodeControl& nodes;
    OtherCopies& copies;
    History& history;
    FolderKeys& folders;
    std::string_view program;  // "QT" or "DAEMON", for the history
    std::string_view image;
    std::string_view data_folder;
    std::int64_t now_ms;
};

// This copy's node ended.
struct NodeGone {
    unsigned long id = 0;
    std::optional<ProcessEnd> end;  // nothing when it was followed by its number only
    std::int64_t ran_ms = 0;
    // The interpreter ZV-KOB started it through, held since; nothing for an
    // adopted node.
    std::shared_ptr<HeldProcess> interpreter;
};

// What a watcher tick found.
struct Sighting {
    bool counts_as_running = false;   // what the status label shows
    std::optional<std::string> seen;  // this copy's node was found: how, for the history
    std::optional<NodeGone> gone;
};

// The node of this copy for one node program: the process ZV-KOB started
// (the child of the command interpreter that ran its batch file, created
// after it) or adopted (already running, its command line naming this copy's
// data folder), held by an open handle, and its life. Other processes with
// the same image name count as running unless they are known to belong to
// another copy's node. The processes are listed only when something may have
// changed: the query counts another number of them than this copy knows, a
// verdict about one is due again (every minute, and at news from another
// copy), or a started node is being looked for. What the node's RPC tells
// of it is kept here too, for as long as it is this copy's node.
class NodeOfThisCopy {
public:
    NodeLife life;

    // ZV-KOB ran the program's batch file, whose line is `batch_line`, through
    // `interpreter`.
    void start_through(std::shared_ptr<HeldProcess> interpreter, StartRequest requester,
                       std::string batch_line, std::int64_t now_ms);
    // The service that guarded the node hands it back: the process it
    // named is taken as this copy's node at the next look that lists it.
    void handed_back(unsigned long process_id) { handed_back_id_ = process_id; }
    // The start failed (the batch file could not run, or ended at once).
    void start_failed(std::int64_t now_ms);
    // Why the node ended after an error at or right after its start, as its
    // log told it (its line and what helps), until the next start; or empty.
    const std::string& error_end() const { return error_end_; }
    void note_error_end(std::string why) { error_end_ = std::move(why); }
    // The batch file ended with an error before the node was seen running:
    // its end, once (a start that failed right after the pause).
    std::optional<ProcessEnd> take_batch_failure() {
        return std::exchange(batch_failure_, std::nullopt);
    }
    // When this copy last started the node (its batch file), UTC.
    std::int64_t start_ms() const { return start_ms_; }

    // Twice a second, with the process query's answer for the image name.
    Sighting follow(const ProbeAnswer& answer, const NodeWatch& watch);

    // The node's process number, or 0 while there is none.
    unsigned long id() const;
    // The interpreter ZV-KOB started the node through, held since it started
    // it; nothing for an adopted node, or one started with no interpreter.
    const HeldProcess* interpreter() const {
        return started_here_ && interpreter_ && interpreter_->id() != id() ? interpreter_.get()
                                                                           : nullptr;
    }
    // The node itself while it is held (not while followed by its number only).
    const HeldProcess* held() const { return node_.get(); }
    StartRequest started_by() const { return started_by_; }
    // When the node began, if this copy saw it begin (it started it).
    std::optional<std::int64_t> seen_starting_ms() const;
    // The line the node was started with: its batch file's line, or its own
    // command line where Windows showed it when it was adopted; may be empty.
    const std::string& started_with() const { return started_with_; }
    // When the node began running (its creation, when held).
    std::int64_t running_since_ms() const;
    // Why the node is followed by its process number only (Windows would not
    // open it), or empty.
    const std::string& not_held_reason() const { return not_held_reason_; }

    // What the node's own RPC tells of it (forgotten when the node goes).
    NodeRpc& rpc() { return rpc_; }
    const NodeRpc& rpc() const { return rpc_; }

    // Another copy asks: whether `process_id` is this copy's node, or the
    // node it is starting right now.
    bool holds(unsigned long process_id, NodeControl& nodes, std::string_view image) const;

    // A process of the image name that counts as running without being this
    // copy's node, and why: what Stop Node says about it. Nothing when none.
    std::optional<std::pair<unsigned long, NamesakeVerdict>> counting_namesake() const;
    // Why a process that is not this copy's node counts as running, where the
    // user would not guess it ("process 9000: another copy of ZV-KOB holds it
    // ..."): another copy's on this copy's data folder, another user's. Else empty.
    std::string other_running_note() const;

private:
    struct Namesake {
        NamesakeVerdict verdict;
        std::int64_t judged_ms = 0;
        unsigned long copies_news = 0;         // what the other copies had said by then
        unsigned long folders_generation = 0;  // which folder keys it was judged by
        std::optional<std::string> command_line;
        unsigned long parent_id = 0;
    };

    bool list_needed(const ProbeAnswer& answer, const NodeWatch& watch) const;
    bool due_again(const Namesake& namesake, const NodeWatch& watch) const;
    void look_at_list(const NodeWatch& watch, Sighting& sighting);
    NodeGone gone(unsigned long id, std::optional<ProcessEnd> end, std::int64_t ran_ms);
    void check_held_node(const NodeWatch& watch, Sighting& sighting);
    void check_followed_number(const ProcessList& list, const NodeWatch& watch, Sighting& sighting);
    void find_started_node(const ProcessList& list, const NodeWatch& watch);
    void note_interpreter_end(const NodeWatch& watch);
    void adopt(const NodeWatch& watch);
    bool take(const RunningProcess& process, const NodeWatch& watch, const std::string& how);
    std::optional<std::string> just_seen_;  // how the node was found at this tick
    void judge_namesakes(const ProcessList& list, const NodeWatch& watch);
    Namesake judged(const RunningProcess& process, const NodeWatch& watch) const;
    bool any_namesake_counts() const;

    // The interpreter ZV-KOB started the node through: held from its start, so
    // that its process number cannot pass to another process, for the node's
    // life when the node was found as its child.
    std::shared_ptr<HeldProcess> interpreter_;
    std::shared_ptr<HeldProcess> node_;
    unsigned long followed_id_ = 0;  // a node Windows would not open, followed by number
    unsigned long handed_back_id_ = 0;  // named by the service that guarded it
    std::string not_held_reason_;
    std::string error_end_;
    std::optional<ProcessEnd> batch_failure_;
    std::int64_t start_ms_ = 0;
    StartRequest started_by_ = StartRequest::launch;
    std::string started_with_;
    bool started_here_ = false;  // found as the child of an interpreter this copy started
    std::map<unsigned long, Namesake> namesakes_;
    NodeRpc rpc_;
};

}  // namespace zvkob
