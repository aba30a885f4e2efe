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

// The node's console as ZV-KOB finds it when attached to it to press Ctrl+C.
struct NodeConsole {
    std::vector<ConsoleProcess> processes;  // every process on it, ZV-KOB's own too
    bool shown = false;                     // its window is visible
    unsigned long node_id = 0;
    unsigned long interpreter_id = 0;  // the interpreter ZV-KOB started it through; 0: adopted
    unsigned long own_id = 0;          // ZV-KOB's own process
    // Where an adopted node was started: "cmd.exe (process 3000)", or empty
    // when the program that started it has ended.
    std::string started_by;
};

// Ctrl+C reaches every process on a console. For a node ZV-KOB started, it is
// sent only while that console holds nothing but the node, the interpreter
// that runs its batch file and ZV-KOB itself (attached to send it). A node it
// adopted was started by someone else: it is sent only while the console is
// hidden and holds nothing but the node and ZV-KOB; in a terminal the user
// sees, the user stops it there. Gives why not, naming the others and where
// the node was started, or nothing when Ctrl+C may go.
std::optional<std::string> ctrl_c_refusal(const NodeConsole& console);

// The interpreter that ran the node's batch file, once the node has exited.
struct LeftInterpreter {
    bool started_by_zvkob = false;  // started by ZV-KOB and held by its handle since
    bool runs = false;
    bool console_shown = false;  // its console window is visible
};

// After Ctrl+C a batch file's interpreter asks "Terminate batch job (Y/N)?"
// and waits on its console for ever. One that ZV-KOB started and held from
// its start (so no other process can pass for it) and that runs hidden is
// ended; one with a console someone can see is left alone.
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
