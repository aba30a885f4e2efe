#include "main_window/node_of_this_copy.hpp"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/exit_code_text.hpp"
#include "core/time_text.hpp"

namespace zvkob {
namespace {

// A copy that did not answer is asked again after this long, not at every tick.
constexpr std::int64_t ask_again_after_ms = 2000;

bool listed(const ProcessList& list, unsigned long id) {
    return std::ranges::any_of(list.processes,
                               [id](const RunningProcess& p) { return p.id == id; });
}

}  // namespace

void NodeOfThisCopy::start_through(std::shared_ptr<HeldProcess> interpreter, StartRequest requester,
                                   std::string batch_line, std::int64_t now_ms) {
    interpreter_ = std::move(interpreter);
    started_by_ = requester;
    started_with_ = std::move(batch_line);
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

Sighting NodeOfThisCopy::follow(bool name_runs, const NodeWatch& watch) {
    Sighting sighting;
    check_held_node(watch, sighting);
    if (!name_runs && followed_id_ == 0) {
        namesakes_.clear();
        note_interpreter_end(watch);
        return sighting;
    }
    const ProcessList list = watch.nodes.processes_named(watch.image);
    check_followed_number(list, watch, sighting);
    if (id() == 0 && interpreter_) {
        find_started_node(list, watch);
        note_interpreter_end(watch);
    }
    judge_namesakes(list, watch);
    if (id() == 0 && !interpreter_) {
        adopt(watch);
    }
    // A process listed too late or too early for the query counts as the query said.
    sighting.counts_as_running =
        name_runs && (id() != 0 || list.processes.empty() || any_namesake_counts(list));
    sighting.seen = std::exchange(just_seen_, std::nullopt);
    return sighting;
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
        NodeGone{node_->id(), end, std::max<std::int64_t>(0, end->at_ms - node_->created_ms())};
    node_.reset();
    life.on(NodeEvent::gone, watch.now_ms);
}

void NodeOfThisCopy::check_followed_number(const ProcessList& list, const NodeWatch& watch,
                                           Sighting& sighting) {
    if (followed_id_ == 0 || !list.failure.empty() || listed(list, followed_id_)) {
        return;
    }
    sighting.gone = NodeGone{followed_id_, std::nullopt, watch.now_ms - life.since_ms()};
    followed_id_ = 0;
    not_held_reason_.clear();
    life.on(NodeEvent::gone, watch.now_ms);
}

// The child of the interpreter, created after it: a process number reused
// since cannot pass for it.
void NodeOfThisCopy::find_started_node(const ProcessList& list, const NodeWatch& watch) {
    for (const RunningProcess& process : list.processes) {
        if (process.parent_id == interpreter_->id() && take(process, watch, "started by ZV-KOB")) {
            interpreter_.reset();
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
    parent_id_ = process.parent_id;
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

// Each new process is judged once and the verdict kept while it lives; only a
// copy that did not answer is asked again, a little later.
void NodeOfThisCopy::judge_namesakes(const ProcessList& list, const NodeWatch& watch) {
    std::erase_if(namesakes_, [&](const auto& entry) { return !listed(list, entry.first); });
    for (const RunningProcess& process : list.processes) {
        if (process.id == id()) {
            continue;
        }
        const auto known = namesakes_.find(process.id);
        if (known != namesakes_.end() &&
            (known->second.verdict.belonging != Belonging::undecided ||
             watch.now_ms - known->second.judged_ms < ask_again_after_ms)) {
            continue;
        }
        std::optional<std::string> command_line = watch.nodes.command_line(process.id);
        namesakes_[process.id] = {
            namesake_verdict(command_line, watch.copies.who_holds(process.id), watch.data_folder),
            watch.now_ms, std::move(command_line), process.parent_id};
    }
}

bool NodeOfThisCopy::any_namesake_counts(const ProcessList& list) const {
    return std::ranges::any_of(list.processes, [this](const RunningProcess& process) {
        const auto known = namesakes_.find(process.id);
        return known == namesakes_.end() || known->second.verdict.belonging != Belonging::elsewhere;
    });
}

// A node already running is adopted when its command line names this copy's
// data folder (the older of two), or, with no data folder set, when it is the
// only one no other copy holds.
void NodeOfThisCopy::adopt(const NodeWatch& watch) {
    std::vector<unsigned long> ours;
    std::size_t not_elsewhere = 0;
    for (const auto& [id, namesake] : namesakes_) {
        not_elsewhere += namesake.verdict.belonging != Belonging::elsewhere ? 1 : 0;
        if (namesake.verdict.belonging == Belonging::this_copys) {
            ours.push_back(id);
        }
    }
    if (ours.empty() || (watch.data_folder.empty() && not_elsewhere != 1)) {
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
