#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/outcome.hpp"
#include "platform/held_process.hpp"

namespace zvkob {

// A running process with an image name, and the process that started it.
struct RunningProcess {
    unsigned long id = 0;
    unsigned long parent_id = 0;
};

// The processes with an image name, or why the system could not list them.
struct ProcessList {
    std::vector<RunningProcess> processes;
    std::string failure;  // empty when listed
};

// A process opened to be followed, or why it could not be.
struct Holding {
    std::shared_ptr<HeldProcess> process;
    bool gone = false;    // it had ended before it could be opened
    std::string failure;  // why Windows refused to open it (another user, elevated)
};

// Whose a process is, as far as Windows tells.
enum class ProcessOwner {
    this_user_here,  // ZV-KOB's user, in ZV-KOB's Windows session
    another_user,
    another_session,  // ZV-KOB's user, signed in a second time (or a service)
    unknown,          // Windows would not say
};

// Finding the node's processes and asking them to stop the way they handle
// themselves. The node is never ended.
class NodeControl {
public:
    virtual ~NodeControl() = default;
    // Cheap enough to call twice a second: no query service is asked.
    virtual ProcessList processes_named(std::string_view image_name) = 0;
    virtual Holding hold(unsigned long process_id) = 0;
    // The command line Windows shows for the process; nothing where it shows none.
    virtual std::optional<std::string> command_line(unsigned long process_id) = 0;
    virtual ProcessOwner owner(unsigned long process_id) = 0;
    // Ctrl+C on the console the node runs in. For a node ZV-KOB started
    // through `interpreter`, when nothing but the node, that interpreter and
    // ZV-KOB are on it; for one it adopted (no interpreter), when its console
    // is hidden and holds nothing but the node and ZV-KOB. Else why not,
    // saying where the node was started.
    virtual Outcome press_ctrl_c(unsigned long process_id, const HeldProcess* interpreter) = 0;
    // Ends the interpreter ZV-KOB started a node through, held since it
    // started it, once that node has exited: a stop by Ctrl+C leaves it asking
    // "Terminate batch job (Y/N)?" for ever. Only while it runs hidden;
    // returns whether it did.
    virtual bool end_left_interpreter(HeldProcess& interpreter) = 0;
    // WM_CLOSE to each window of the process that a user sees; when it shows
    // none, nothing is sent and the outcome says where the wallet is.
    virtual Outcome close_windows(unsigned long process_id) = 0;
    // Whether the process shows a window a user sees.
    virtual bool shows_a_window(unsigned long process_id) = 0;
};

}  // namespace zvkob
