#pragma once
#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "main_window/main_window.hpp"
#include "main_window/shown_state.hpp"
#include "platform/background_work.hpp"

namespace zvkob {

// A check that may wait on a disk (`what`: "the data folder's drive"), done
// by the worker. While it runs the display's tooltip says "checking …"; its
// answer is handed to `then` on the window's thread once no handler is running,
// so that it acts on the window's state of then.
template <typename Answer>
void check_in_background(MainWindow& w, const std::string& what, std::function<Answer()> check,
                         std::function<void(Answer)> then) {
    w.guardian.glance.checking_started(what);
    show_state(w);
    run_in_background<Answer>(
        w.services.background, std::move(check),
        [&w, what, then = std::move(then)](Answer answer) {
            w.guardian.glance.checking_done(what);
            then(std::move(answer));
            show_state(w);
        },
        w.lifetime);
}

}  // namespace zvkob
