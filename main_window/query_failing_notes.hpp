#pragma once
#include <optional>
#include <string>

namespace zvkob {

// What has been said of a process query that fails: the history says it once
// when it starts failing and once when it answers again; the countdown tells
// the user once until it answers.
class QueryFailingNotes {
public:
    // The history's line for the query's `failure` now (empty: it answers), if any.
    std::optional<std::string> history_line(const std::string& failure) {
        std::optional<std::string> line;
        if (!failure.empty() && !in_history_) {
            in_history_ = true;
            line = "The process query fails: " + failure;
        } else if (failure.empty() && in_history_) {
            in_history_ = false;
            line = "The process query answers again.";
        }
        if (failure.empty()) {
            told_user_ = false;  // a later failure is told again
        }
        return line;
    }
    // Returns true once until the query answers again.
    bool tell_user_once() {
        const bool tell = !told_user_;
        told_user_ = true;
        return tell;
    }

private:
    bool in_history_ = false;
    bool told_user_ = false;
};

}  // namespace zvkob
