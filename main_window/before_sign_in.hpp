#pragma once
#include "main_window/main_window.hpp"

namespace zvkob {

// "Start the Node Before Sign-In": ticked while this copy's service is
// installed. Ticking it has the elevated helper install the service (Windows
// asks for an administrator's consent, then the user's password); clearing
// it has the helper hand the node back and remove the service. The DAEMON
// program only: the QT program needs a desktop, so the command is greyed
// while QT is chosen, and says so.
void before_sign_in_clicked(MainWindow& window);

// Once the window has opened: a service of this copy that runs another
// program file (this one was moved or renamed) is offered a repair; one that
// does not run is told, with why (its password changed, a policy, a stop)
// and what to do.
void tell_what_became_of_the_service(MainWindow& window);

// The window menu opens: the tick and its caption show the state of now.
void before_sign_in_shown(MainWindow& window);

// The wait the helper sets for Windows' shut-down: from the node's measured
// stops (the record beside the history), the longer default without one.
std::int64_t shutdown_wait_for(MainWindow& window);

}  // namespace zvkob
