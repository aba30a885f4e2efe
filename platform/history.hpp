#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "core/outcome.hpp"

namespace zvkob {

// The history of this copy: one line per event that matters to a node
// operator, stamped with the local time, in a file of its own.
class History {
public:
    virtual ~History() = default;
    // Records an event. Never blocks the window for long and never fails:
    // why the file could not be written is kept for failure(). Any thread
    // may record: a request to the node records what became of it where it
    // is known, on the worker, whether or not the window is still there.
    virtual void record(std::string_view event) = 0;
    virtual std::string path() = 0;
    // Why the last write failed, or nothing.
    virtual std::optional<std::string> failure() = 0;
    // Opens the history in the user's program for .log files (Notepad when none is set).
    virtual Outcome open() = 0;
    // Waits, a few seconds at most, until every recorded line is written:
    // Windows ends the process soon after the session has ended.
    virtual void flush() = 0;
};

}  // namespace zvkob
