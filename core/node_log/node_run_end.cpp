#include "core/node_log/node_run_end.hpp"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "core/node_log/node_log_line.hpp"
#include "core/node_state/node_progress_line.hpp"

namespace zvkob {
namespace {

using Kind = ProgressLineKind;

struct ErrorSeen {
    std::size_t at = 0;
    std::string rest;  // its message's lines without a time
};

bool is_blank(std::string_view line) {
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

TroubleKind kind_of(const ErrorSeen& error, const std::vector<std::string>& lines) {
    return std::min(trouble_kind(read_log_line(lines[error.at]).message), trouble_kind(error.rest));
}

// Reads the lines in order, keeping the errors that may still count.
class EndReader {
public:
    void take(std::size_t at, std::string_view whole_line) {
        if (is_blank(whole_line)) {
            return;
        }
        const ProgressLine line = read_progress_line(whole_line);
        if (continued_ != nullptr && !line.utc_ms) {
            continued_->back().rest +=
                (continued_->back().rest.empty() ? "" : " ") + std::string(line.message);
            return;
        }
        continued_ = nullptr;
        switch (line.kind) {
            case Kind::fatal:
                note_error(counted_, at, line);
                break;
            case Kind::error:
            case Kind::block_failed:
            case Kind::exception:
                note_error(pending_, at, line);
                break;
            case Kind::stopping:
                settle_pending(errors_only_since_pending_);
                end_.last_in_progress = at;
                end_.done.reset();
                break;
            case Kind::shut_down:
                end_.done = end_.done ? end_.done : at;
                errors_only_since_pending_ = false;
                break;
            default:
                if (is_normal_progress(line.kind)) {
                    pending_.clear();
                }
                errors_only_since_pending_ = false;
                break;
        }
    }

    RunEnd finish(const std::vector<std::string>& lines) {
        settle_pending(true);  // nothing went on after them
        std::ranges::sort(counted_, {}, &ErrorSeen::at);
        for (const ErrorSeen& error : counted_) {
            end_.errors.push_back(error.at);
            const TroubleKind kind = kind_of(error, lines);
            if (!end_.deciding_error || kind < end_.trouble) {
                end_.trouble = kind;
                end_.deciding_error = error.at;
                end_.node_advice = error.rest;
            }
        }
        return end_;
    }

private:
    void note_error(std::vector<ErrorSeen>& errors, std::size_t at, const ProgressLine& line) {
        errors.push_back({at, {}});
        continued_ = line.utc_ms ? &errors : nullptr;
        errors_only_since_pending_ = errors_only_since_pending_ || &errors == &pending_;
    }

    void settle_pending(bool count) {
        if (count) {
            std::ranges::move(pending_, std::back_inserter(counted_));
        }
        pending_.clear();
        errors_only_since_pending_ = false;
    }

    RunEnd end_;
    std::vector<ErrorSeen> counted_;
    std::vector<ErrorSeen> pending_;
    bool errors_only_since_pending_ = false;
    std::vector<ErrorSeen>* continued_ = nullptr;  // whose last error's message may go on
};

}  // namespace

RunEnd read_run_end(const std::vector<std::string>& lines) {
    EndReader reader;
    for (std::size_t at = 0; at < lines.size(); ++at) {
        reader.take(at, lines[at]);
    }
    return reader.finish(lines);
}

}  // namespace zvkob
