#pragma once
#include <string>
#include <utility>

namespace zvkob {

// The result of a platform call that can fail: success, or the reason it failed
// in words a user can act on (usually the system's own error text).
class Outcome {
public:
    static Outcome success() { return Outcome{}; }
    static Outcome failure(std::string reason) { return Outcome{std::move(reason)}; }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const std::string& reason() const { return reason_; }

private:
    Outcome() = default;
    explicit Outcome(std::string reason) : failed_(true), reason_(std::move(reason)) {}

    bool failed_ = false;
    std::string reason_;
};

}  // namespace zvkob
