#pragma once
#include <optional>
#include <string>
#include <vector>

namespace zvkob {

// What ZV-KOB may do to ask a node to stop, and to clean up after it, without
// touching anything else the user runs.

// A process attached to the node's console.
struct ConsoleProcess {
    unsigned long id = 0;
    std::string image;
};

// Ctrl+C reaches every process on a console. It is sent only while that
// console holds nothing but the node, the interpreter that runs its batch
// file and ZV-KOB itself (attached to send it): in a terminal of the user's,
// the shell and every other program there would be stopped too. Gives why
// not, naming the others, or nothing when Ctrl+C may go.
std::optional<std::string> ctrl_c_refusal(const std::vector<ConsoleProcess>& on_console,
                                          unsigned long node_id, unsigned long interpreter_id,
                                          unsigned long own_id);

// The interpreter that ran the node's batch file, once the node has ended.
struct LeftInterpreter {
    bool runs = false;
    bool console_shown = false;     // its console window is visible
    bool started_by_zvkob = false;  // its parent is ZV-KOB, or has gone (an earlier ZV-KOB)
};

// After Ctrl+C a batch file's interpreter asks "Terminate batch job (Y/N)?"
// and waits on its console for ever. One that ZV-KOB started hidden is ended;
// one with a console someone can see belongs to the user and is left alone.
bool ends_left_interpreter(const LeftInterpreter& interpreter);

// A top-level window of a wallet program.
struct ProgramWindow {
    bool visible = false;
    bool owned = false;  // another window owns it
};

// A wallet is asked to close as a user would: only the windows a user sees,
// not the hidden one behind its notification-area icon, which would then be
// destroyed and leave the wallet unreachable.
bool receives_close(const ProgramWindow& window);

}  // namespace zvkob
