#pragma once
#include <optional>
#include <string>

#include "platform/history.hpp"

namespace zvkob {

// What has been said of a process query that fails: the history says it once
// when it starts failing and once when it answers again; the countdown tells
// the user once until it answers.
class QueryFailingNotes {
public:
    explicit QueryFailingNotes(History& history) : history_(history) {}

    // The query's `failure` at this tick; empty while it answers.
    void heard(const std::string& failure) {
        if (!failure.empty() && !in_history_) {
            in_history_ = true;
            history_.record("The process query fails: " + failure);
        } else if (failure.empty() && in_history_) {
            in_history_ = false;
            history_.record("The process query answers again.");
        }
        if (failure.empty()) {
            told_user_ = false;  // a later failure is told again
        }
    }
    // Returns true once until the query answers again.
    bool tell_user_once() {
        const bool tell = !told_user_;
        told_user_ = true;
        return tell;
    }

private:
    History& history_;
    bool in_history_ = false;
    bool told_user_ = false;
};

}  // namespace zvkob
