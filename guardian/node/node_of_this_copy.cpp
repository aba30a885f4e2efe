#include "guardian/node/node_of_this_copy.hpp"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/processes/exit_code_text.hpp"
#include "core/folder_key.hpp"
#include "core/time_text.hpp"

namespace zvkob {
namespace {

// A copy that did not answer is asked again after this long, not at every tick.
constexpr std::int64_t ask_again_after_ms = 2000;
// Every verdict is asked again this often: the copy that held a process may
// have closed, or another may have taken it since.
constexpr std::int64_t judge_again_after_ms = 60'000;

bool listed(const ProcessList& list, unsigned long id) {
    return std::ranges::any_of(list.processes,
                               [id](const RunningProcess& p) { return p.id == id; });
}

}  // namespace

void NodeOfThisCopy::start_through(std::shared_ptr<HeldProcess> interpreter, StartRequest requester,
                                   std::string batch_line, std::int64_t now_ms) {
    interpreter_ = std::move(interpreter);
    started_here_ = false;
    started_by_ = requester;
    started_with_ = std::move(batch_line);
    error_end_.clear();
    batch_failure_.reset();
    start_ms_ = now_ms;
    life.on(NodeEvent::start, now_ms);
}

void NodeOfThisCopy::start_failed(std::int64_t now_ms) {
    interpreter_.reset();
    if (life.stage() == NodeStage::starting) {
        life.on(NodeEvent::gone, now_ms);
    }
}

std::optional<std::int64_t> NodeOfThisCopy::seen_starting_ms() const {
    return started_here_ && id() != 0 ? std::optional(running_since_ms()) : std::nullopt;
}

unsigned long NodeOfThisCopy::id() const {
    return node_ ? node_->id() : followed_id_;
}

std::int64_t NodeOfThisCopy::running_since_ms() const {
    return node_ ? node_->created_ms() : life.since_ms();
}

Sighting NodeOfThisCopy::follow(const ProbeAnswer& answer, const NodeWatch& watch) {
    Sighting sighting;
    check_held_node(watch, sighting);
    if (!answer.running && followed_id_ == 0) {
        namesakes_.clear();
        note_interpreter_end(watch);
    } else if (list_needed(answer, watch)) {
        look_at_list(watch, sighting);
    }
    // A process listed too late or too early for the query counts as the query said.
    sighting.counts_as_running =
        answer.running && (id() != 0 || namesakes_.empty() || any_namesake_counts());
    sighting.seen = std::exchange(just_seen_, std::nullopt);
    if (sighting.seen || sighting.gone) {
        watch.copies.tell_others();
    }
    return sighting;
}

// A snapshot of the process list costs about as much as the query itself:
// it is taken only when something may have changed. A node held by its
// handle tells its end without it.
bool NodeOfThisCopy::list_needed(const ProbeAnswer& answer, const NodeWatch& watch) const {
    if (!answer.count || (id() == 0 && (interpreter_ || handed_back_id_ != 0))) {
        return true;
    }
    const std::size_t known = (id() != 0 ? 1 : 0) + namesakes_.size();
    return *answer.count != known || std::ranges::any_of(namesakes_, [&](const auto& entry) {
        return due_again(entry.second, watch);
    });
}

bool NodeOfThisCopy::due_again(const Namesake& namesake, const NodeWatch& watch) const {
    const std::int64_t age = watch.now_ms - namesake.judged_ms;
    return age >= judge_again_after_ms ||
           (namesake.verdict.belonging == Belonging::undecided && age >= ask_again_after_ms) ||
           namesake.copies_news != watch.copies.news() ||
           namesake.folders_generation != watch.folders.generation();
}

void NodeOfThisCopy::look_at_list(const NodeWatch& watch, Sighting& sighting) {
    const ProcessList list = watch.nodes.processes_named(watch.image);
    check_followed_number(list, watch, sighting);
    if (id() == 0 && interpreter_) {
        find_started_node(list, watch);
        note_interpreter_end(watch);
    }
    if (id() == 0 && handed_back_id_ != 0) {
        for (const RunningProcess& process : list.processes) {
            if (process.id == handed_back_id_ && take(process, watch, "handed back by the service")) {
                break;
            }
        }
        handed_back_id_ = 0;
    }
    judge_namesakes(list, watch);
    if (id() == 0 && !interpreter_) {
        adopt(watch);
    }
}

// The node has ended: the interpreter it was started through goes with it,
// to be ended where a stop left it waiting.
NodeGone NodeOfThisCopy::gone(unsigned long id, std::optional<ProcessEnd> end,
                              std::int64_t ran_ms) {
    NodeGone ended{id, end, ran_ms, nullptr};
    rpc_.forget();
    if (started_here_ && interpreter_ && interpreter_->id() != id) {
        ended.interpreter = std::move(interpreter_);
    }
    interpreter_.reset();
    started_here_ = false;
    return ended;
}

// "Stopped" means that the node's handle is signalled, nothing else.
void NodeOfThisCopy::check_held_node(const NodeWatch& watch, Sighting& sighting) {
    if (!node_) {
        return;
    }
    const std::optional<ProcessEnd> end = node_->end();
    if (!end) {
        return;
    }
    sighting.gone =
        gone(node_->id(), end, std::max<std::int64_t>(0, end->at_ms - node_->created_ms()));
    node_.reset();
    life.on(NodeEvent::gone, watch.now_ms);
}

void NodeOfThisCopy::check_followed_number(const ProcessList& list, const NodeWatch& watch,
                                           Sighting& sighting) {
    if (followed_id_ == 0 || !list.failure.empty() || listed(list, followed_id_)) {
        return;
    }
    sighting.gone = gone(followed_id_, std::nullopt, watch.now_ms - life.since_ms());
    followed_id_ = 0;
    not_held_reason_.clear();
    life.on(NodeEvent::gone, watch.now_ms);
}

// The child of the interpreter, created after it: a process number reused
// since cannot pass for it, and the interpreter's own number is held.
void NodeOfThisCopy::find_started_node(const ProcessList& list, const NodeWatch& watch) {
    for (const RunningProcess& process : list.processes) {
        // The interpreter's child, or the process started itself where it is
        // the node (the service starts the node with no interpreter).
        const bool started = process.parent_id == interpreter_->id() || process.id == interpreter_->id();
        if (started && take(process, watch, "started by ZV-KOB")) {
            return;
        }
    }
}

void NodeOfThisCopy::note_interpreter_end(const NodeWatch& watch) {
    if (!interpreter_ || id() != 0) {
        return;
    }
    const std::optional<ProcessEnd> end = interpreter_->end();
    if (!end) {
        return;
    }
    interpreter_.reset();
    if (life.stage() == NodeStage::starting) {
        watch.history.record("The " + std::string(watch.program) +
                             " program's batch file ended with exit code " +
                             exit_code_text(end->exit_code) + " before " +
                             std::string(watch.image) + " was seen running.");
        life.on(NodeEvent::gone, watch.now_ms);
        if (end->exit_code != 0) {
            batch_failure_ = end;
        }
    }
}

// Holds the process as this copy's node. One that ended meanwhile is passed
// over; one Windows will not open is followed by its number alone.
bool NodeOfThisCopy::take(const RunningProcess& process, const NodeWatch& watch,
                          const std::string& how) {
    const unsigned long process_id = process.id;
    const Holding holding = watch.nodes.hold(process_id);
    if (holding.gone) {
        return false;
    }
    if (holding.process && interpreter_ &&
        holding.process->created_ms() < interpreter_->created_ms()) {
        return false;  // older than the interpreter: a process number used again
    }
    just_seen_ = "process " + std::to_string(process_id) + ", " + how;
    started_here_ = interpreter_ != nullptr;
    if (const auto known = namesakes_.find(process_id); known != namesakes_.end()) {
        started_with_ = known->second.command_line.value_or(std::string());  // adopted
    } else if (const auto own = watch.nodes.command_line(process_id); own && !own->empty()) {
        started_with_ = *own;  // says more than its batch file's line, where Windows shows it
    }
    if (holding.process) {
        node_ = holding.process;
    } else {
        followed_id_ = process_id;
        not_held_reason_ = holding.failure;
        *just_seen_ += "; Windows does not let ZV-KOB open it (" + holding.failure +
                       "), so ZV-KOB follows it by its name and process number";
    }
    namesakes_.erase(process_id);
    life.on(NodeEvent::seen, watch.now_ms);
    return true;
}

// Each new process is judged, and judged again when its verdict is due; in
// between, the verdict is kept.
void NodeOfThisCopy::judge_namesakes(const ProcessList& list, const NodeWatch& watch) {
    std::erase_if(namesakes_, [&](const auto& entry) { return !listed(list, entry.first); });
    for (const RunningProcess& process : list.processes) {
        if (process.id == id()) {
            continue;
        }
        const auto known = namesakes_.find(process.id);
        if (known == namesakes_.end() || due_again(known->second, watch)) {
            namesakes_[process.id] = judged(process, watch);
        }
    }
}

NodeOfThisCopy::Namesake NodeOfThisCopy::judged(const RunningProcess& process,
                                                const NodeWatch& watch) const {
    NamesakeFacts facts;
    facts.owner = watch.nodes.owner(process.id);
    if (facts.owner == ProcessOwner::this_user_here) {  // other copies run in this session only
        facts.command_line = watch.nodes.command_line(process.id);
        facts.copies =
            watch.copies.who_holds(process.id, folder_mark(watch.folders.key(watch.data_folder)));
    }
    const auto key_of = [&folders = watch.folders](std::string_view folder) {
        return folders.key(folder);
    };
    return {namesake_verdict(facts, watch.data_folder, key_of),
            watch.now_ms,
            watch.copies.news(),
            watch.folders.generation(),
            std::move(facts.command_line),
            process.parent_id};
}

bool NodeOfThisCopy::any_namesake_counts() const {
    return std::ranges::any_of(namesakes_, [](const auto& entry) {
        return entry.second.verdict.belonging != Belonging::elsewhere;
    });
}

// One that another copy guards, or another user's, is named first: the user
// would not guess why it counts.
std::optional<std::pair<unsigned long, NamesakeVerdict>> NodeOfThisCopy::counting_namesake() const {
    std::optional<std::pair<unsigned long, NamesakeVerdict>> found;
    for (const auto& [id, namesake] : namesakes_) {
        const Belonging belonging = namesake.verdict.belonging;
        if (belonging == Belonging::held_here || belonging == Belonging::not_this_users) {
            return std::pair{id, namesake.verdict};
        }
        if (!found && belonging != Belonging::elsewhere) {
            found = std::pair{id, namesake.verdict};
        }
    }
    return found;
}

std::string NodeOfThisCopy::other_running_note() const {
    const auto namesake = counting_namesake();
    if (id() != 0 || !namesake ||
        (namesake->second.belonging != Belonging::held_here &&
         namesake->second.belonging != Belonging::not_this_users)) {
        return {};
    }
    return "process " + std::to_string(namesake->first) + ": " + namesake->second.why;
}

// A node already running is adopted when its command line names this copy's
// data folder (the older of two), or, with no data folder set, when it is the
// only one no other copy holds. Another user's or session's never is.
void NodeOfThisCopy::adopt(const NodeWatch& watch) {
    std::vector<unsigned long> ours;
    std::size_t candidates = 0;
    for (const auto& [id, namesake] : namesakes_) {
        const Belonging belonging = namesake.verdict.belonging;
        candidates += belonging == Belonging::this_copys || belonging == Belonging::undecided ||
                              belonging == Belonging::counts
                          ? 1
                          : 0;
        if (belonging == Belonging::this_copys) {
            ours.push_back(id);
        }
    }
    if (ours.empty() || (watch.data_folder.empty() && candidates != 1)) {
        return;
    }
    const std::string why = namesakes_.at(ours.front()).verdict.why;
    if (ours.size() > 1) {
        std::vector<std::pair<std::int64_t, unsigned long>> by_age;
        for (const unsigned long id : ours) {
            const Holding holding = watch.nodes.hold(id);
            if (holding.process) {
                by_age.emplace_back(holding.process->created_ms(), id);
            }
        }
        std::ranges::sort(by_age);
        watch.history.record(std::to_string(ours.size()) + " " + std::string(watch.image) +
                             " processes name this copy's data folder; ZV-KOB takes the older " +
                             "one as its node.");
        ours = by_age.empty() ? ours : std::vector<unsigned long>{by_age.front().second};
    }
    take({ours.front(), namesakes_.at(ours.front()).parent_id}, watch, "adopted: " + why);
}

bool NodeOfThisCopy::holds(unsigned long process_id, NodeControl& nodes,
                           std::string_view image) const {
    if (process_id != 0 && process_id == id()) {
        return true;
    }
    if (!interpreter_ || id() != 0) {
        return false;
    }
    const ProcessList list = nodes.processes_named(image);
    return std::ranges::any_of(list.processes, [&](const RunningProcess& process) {
        return process.id == process_id && process.parent_id == interpreter_->id();
    });
}

}  // namespace zvkob
