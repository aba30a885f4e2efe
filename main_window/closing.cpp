#include "main_window/closing.hpp"

namespace zvkob {
namespace {

// Clears the open mark however the showing ends, a failure included.
class OpenWhileAlive {
public:
    explicit OpenWhileAlive(bool& open) : open_(open) { open = true; }
    ~OpenWhileAlive() { open_ = false; }
    OpenWhileAlive(const OpenWhileAlive&) = delete;
    OpenWhileAlive& operator=(const OpenWhileAlive&) = delete;

private:
    bool& open_;
};

void close_if_asked_meanwhile(MainWindow& w) {
    if (w.close_after_settings) {
        w.close_after_settings = false;
        w.services.windows.close_main_window();
    }
}

}  // namespace

void settings_click(MainWindow& w) {
    if (w.settings_open) {
        return;
    }
    try {
        OpenWhileAlive open(w.settings_open);
        w.services.windows.show_settings_window();
    } catch (...) {
        close_if_asked_meanwhile(w);
        throw;
    }
    close_if_asked_meanwhile(w);
}

void request_main_close(MainWindow& w) {
    if (main_may_close_now(w)) {
        w.services.windows.close_main_window();
    }
}

bool main_may_close_now(MainWindow& w) {
    if (!w.settings_open) {
        return true;
    }
    w.close_after_settings = true;
    w.services.windows.close_settings_window();
    return false;
}

}  // namespace zvkob
