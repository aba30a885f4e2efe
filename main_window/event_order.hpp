#pragma once
#include "main_window/main_window.hpp"
#include "guardian/flows/starting/start_check_events.hpp"

namespace zvkob {

// The events that more than one guarding feature hears, each in one
// function that says in which order they hear it. A feature learns of
// another's state only through that feature's interface. The session's end
// (asked, decided, cancelled) has its functions in session_end_events.hpp, a close
// asked for and the settings window's close in closing_events.hpp; the countdown's
// second in countdown_events.hpp.

// Twice a second: a gap of a minute or more since the last tick means the PC
// slept, which the node at a glance hears first (as from pc_resumed). Then
// asks whether the QT and the DAEMON program run, shows both
// answers, and lets LAUNCH be pressed only while neither runs. The image names
// are read afresh each time, so a name the settings window changed counts at
// once. A process of that name counts unless it is known to be another
// copy's node. A failed query leaves that program's state as it was; the
// other program and LAUNCH are still brought up to date. This copy's node is
// followed by its handle: when it ends, the history says how, Keep Node
// Running decides, and a stop that was asked for or a held sign-out goes on,
// even while a message box is open. Then the battery stop, the node's
// priority and the metered pause follow, once no message box is open.
void process_watcher_tick(MainWindow& window);

// Windows says the PC resumed from sleep or hibernation: unless the watcher's
// gap told this wake already, the node at a glance hears of it (the node is
// asked again at once, and its tip's age decides), then the node is asked.
void pc_resumed(MainWindow& window);

// START/STOP: without a launch mode it only settles the window. "STOP": Keep
// Node Running notes a restart it armed as cancelled, then the countdown disarms.
// "START": Keep Node Running ends its back-off (the node is the user's
// again), then the eleven-second countdown arms and locks the controls that
// could change what is about to start. The display follows.
void start_stop_click(MainWindow& window);

// LAUNCH for `program`, once the data drive has answered (`drive`): when the
// start rule allows it, Keep Node Running hears first (the node is the
// user's again, any wait before a restart ends), then the program starts and
// the countdown stops, unless the start was not even tried.
void launch_by_hand(MainWindow& window, NodeProgram& program, const DriveCheck& drive);

// The countdown's zero step starts `program`: Keep Node Running hears of the
// start (a restart it armed counts), then auto-close is armed (for a start
// the user set up, not the guardian's own) and the countdown stops. A start that failed stops the
// countdown too, so the same failure is not met again every minute, but arms nothing.
void countdown_starts(MainWindow& window, NodeProgram& program);

// STOP, or a stop of the node asked by the user or by Windows: Keep Node
// Running notes a restart it armed as cancelled, then the countdown disarms.
void countdown_cancelled(MainWindow& window);

// Every two seconds: the node at a glance reads what the node logged, then
// the care features follow the state shown (the PC kept awake, the drive's
// runway, the wallets offered for a backup); beside a message box, they wait
// for it to close.
void node_progress_second(MainWindow& window);

// The window menu's "Keep Node Running": the tick and its stored choice, then
// the feature's own note; switched off, a restart it armed is disarmed. The
// display follows.
void keep_node_running_clicked(MainWindow& window);

}  // namespace zvkob
