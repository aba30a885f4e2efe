#pragma once

namespace zvkob {

// A close of the main window asked for while the settings window is open.
enum class PendingClose { none, asked, auto_close };

// Who closes ZV-KOB, for the history.
enum class CloseReason { user, auto_close, session_end };

// Whether the main window is closing and why, and the close that waits for
// the settings window while it is open.
class WindowClosing {
public:
    void begin() { closing_ = true; }
    bool closing() const { return closing_; }
    void because(CloseReason reason) { reason_ = reason; }
    CloseReason reason() const { return reason_; }

    void settings_opened() { settings_open_ = true; }
    void settings_closed() { settings_open_ = false; }
    bool settings_open() const { return settings_open_; }

    // A close asked by the user outranks auto-close.
    void close_after_settings(PendingClose close) {
        if (pending_ != PendingClose::asked) {
            pending_ = close;
        }
    }
    // The close that waited, once the settings window has gone.
    PendingClose take_pending() {
        const PendingClose close = pending_;
        pending_ = PendingClose::none;
        return close;
    }

private:
    bool closing_ = false;
    CloseReason reason_ = CloseReason::user;
    bool settings_open_ = false;
    PendingClose pending_ = PendingClose::none;
};

}  // namespace zvkob
