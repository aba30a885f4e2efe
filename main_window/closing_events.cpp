#include "main_window/closing_events.hpp"

#include "main_window/starting/auto_close.hpp"
#include "main_window/load_unload.hpp"

namespace zvkob {
namespace {

// Clears the open mark however the showing ends, a failure included.
class OpenWhileAlive {
public:
    explicit OpenWhileAlive(WindowClosing& closing) : closing_(closing) {
        closing.settings_opened();
    }
    ~OpenWhileAlive() { closing_.settings_closed(); }
    OpenWhileAlive(const OpenWhileAlive&) = delete;
    OpenWhileAlive& operator=(const OpenWhileAlive&) = delete;

private:
    WindowClosing& closing_;
};

void close_settings_first(MainWindow& w, PendingClose close) {
    w.closing.close_after_settings(close);
    w.services.windows.close_settings_window();
}

void close_if_asked_meanwhile(MainWindow& w) {
    const PendingClose close = w.closing.take_pending();
    if (close == PendingClose::asked) {
        w.services.windows.close_main_window();
    } else if (close == PendingClose::auto_close) {
        close_if_a_node_runs(w);
    }
}

}  // namespace

void settings_click(MainWindow& w) {
    if (w.closing.settings_open()) {
        return;
    }
    try {
        OpenWhileAlive open(w.closing);
        // Its own events, and the main window's timers, run while it is open.
        EventGate::Reopened reopened(w.services.events);
        w.services.windows.show_settings_window(w);
    } catch (...) {
        close_if_asked_meanwhile(w);
        throw;
    }
    close_if_asked_meanwhile(w);
}

void request_auto_close(MainWindow& w) {
    if (w.closing.settings_open()) {
        close_settings_first(w, PendingClose::auto_close);
        return;
    }
    w.closing.because(CloseReason::auto_close);
    w.services.windows.close_main_window();
}

void request_close(MainWindow& w) {
    w.services.windows.close_main_window();
}

void unload_for_close(MainWindow& w) {
    const Outcome saved = unload_main_window(w);
    if (!saved && !w.guardian.sign_out.ending()) {
        w.services.notifier.show_error(saved.reason());
    }
}

bool main_may_close_now(MainWindow& w) {
    if (!w.closing.settings_open()) {
        w.closing.begin();
        return true;
    }
    close_settings_first(w, PendingClose::asked);
    return false;
}

}  // namespace zvkob
