#pragma once
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/node_state/node_progress_news.hpp"
#include "core/node_state/wake_watch.hpp"
#include "guardian/node/progress_watch.hpp"

namespace zvkob {

struct GuardedProgram;

// The node at a glance: the watch over the log of this copy's node, whose
// program it is of, its last reading, whether a reading is under way, the
// state last told, when the PC woke, and what the worker is checking for the
// window now.
class NodeGlance {
public:
    // Starts watching a node; its earlier state is forgotten.
    void watch(std::shared_ptr<ProgressWatch> watch, const GuardedProgram* of) {
        watch_ = std::move(watch);
        of_ = of;
        state_.reset();
        woke_ms_.reset();
        teller_.forget();  // another node: its story is told from its start
    }
    // Returns whether there was anything to forget.
    bool forget() {
        if (!watch_ && !state_) {
            return false;
        }
        watch_.reset();
        of_ = nullptr;
        state_.reset();
        woke_ms_.reset();
        teller_.forget();
        return true;
    }
    const std::shared_ptr<ProgressWatch>& watched() const { return watch_; }
    bool watches(const std::shared_ptr<ProgressWatch>& watch) const { return watch == watch_; }

    // A reading of the log is under way (one at a time).
    bool reading() const { return reading_; }
    void reading_started() { reading_ = true; }
    void reading_done() { reading_ = false; }
    void take(const NodeProgressState& state) { state_ = state; }

    // Tells each change of the node's one state once (the log's and the RPC's together).
    ProgressTeller& teller() { return teller_; }
    WakeWatch& wake_watch() { return wake_watch_; }
    // The PC woke: the next reading of the log hears of it, once.
    void woke(std::int64_t now_ms) { woke_ms_ = now_ms; }
    std::optional<std::int64_t> take_wake() { return std::exchange(woke_ms_, std::nullopt); }

    const std::optional<NodeProgressState>& state() const { return state_; }
    // The program whose node it watches, or none.
    const GuardedProgram* of() const { return of_; }
    // Its state when it is of `program`.
    const NodeProgressState* state_of(const GuardedProgram& program) const {
        return of_ == &program && state_ ? &*state_ : nullptr;
    }

    void checking_started(const std::string& what) { checking_.push_back(what); }
    void checking_done(const std::string& what) {
        if (const auto it = std::find(checking_.begin(), checking_.end(), what);
            it != checking_.end()) {
            checking_.erase(it);
        }
    }
    const std::vector<std::string>& checking() const { return checking_; }

private:
    std::shared_ptr<ProgressWatch> watch_;
    const GuardedProgram* of_ = nullptr;
    std::optional<NodeProgressState> state_;
    bool reading_ = false;
    ProgressTeller teller_;
    WakeWatch wake_watch_;
    std::optional<std::int64_t> woke_ms_;
    std::vector<std::string> checking_;
};

}  // namespace zvkob
