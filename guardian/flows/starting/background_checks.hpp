#pragma once
#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "guardian/engine/guardian_engine.hpp"
#include "platform/background_work.hpp"

namespace zvkob {

// A check that may wait on a disk (`what`: "the data folder's drive"), done
// by the worker. While it runs the display's tooltip says "checking …"; its
// answer is handed to `then` on the window's thread once no handler is running,
// so that it acts on the window's state of then.
template <typename Answer>
void check_in_background(GuardianEngine& g, const std::string& what, std::function<Answer()> check,
                         std::function<void(Answer)> then) {
    g.guardian.glance.checking_started(what);
    g.host.show_guardian_state();
    run_in_background<Answer>(
        g.services.background, std::move(check),
        [&g, what, then = std::move(then)](Answer answer) {
            g.guardian.glance.checking_done(what);
            then(std::move(answer));
            g.host.show_guardian_state();
        },
        g.lifetime);
}

}  // namespace zvkob
