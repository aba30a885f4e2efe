#pragma once

namespace zvkob {

// A start that waits for the worker's answer on the data drive: one at a
// time, and the countdown holds meanwhile.
class StartCheckWait {
public:
    // Returns false while another start's check is under way.
    bool begin() {
        if (pending_) {
            return false;
        }
        pending_ = true;
        return true;
    }
    void answered() { pending_ = false; }
    bool pending() const { return pending_; }

private:
    bool pending_ = false;
};

}  // namespace zvkob
