#pragma once
#include <windows.h>

#include <functional>

namespace zvkob::win32 {

// Delivers window messages, with Tab and arrow keys moving the focus between
// controls, until `done` says so or the program is asked to quit. A quit
// request seen inside a nested loop is passed on to the outer one.
void pump_messages(const std::function<bool()>& done);

// Shows `window` modally over `owner`: the owner takes no input until `window`
// is gone, but its timers keep running.
void run_modal(HWND window, HWND owner);

}  // namespace zvkob::win32
