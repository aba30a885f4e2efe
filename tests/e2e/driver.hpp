#pragma once
// Drives the real ZV-KOB.exe from outside, as a user would: window messages
// to its controls, the registry, files and processes. Every wait has a
// deadline and polls; nothing sleeps a fixed time and hopes.
#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/control_table.hpp"
#include "platform/win32/owners.hpp"

namespace zvkob::e2e {

using namespace std::chrono_literals;

// What ZV-KOB shows: the captions of its windows (for the copy named ZV-KOB)
// and the colours of its labels and countdown display.
inline constexpr wchar_t main_caption[] = L"TARLOWEN - ZV-KOB - ZV-KOB";
inline constexpr wchar_t settings_caption[] = L"TARLOWEN - ZV-KOB - SETTINGS";
inline constexpr COLORREF green = RGB(0, 255, 0);
inline constexpr COLORREF red = RGB(255, 0, 0);
inline constexpr COLORREF yellow = RGB(255, 255, 0);
inline constexpr COLORREF pink = RGB(255, 128, 255);
inline constexpr COLORREF cyan = RGB(0, 255, 255);
inline constexpr COLORREF black = RGB(0, 0, 0);
using Clock = std::chrono::steady_clock;

// Polls `condition` every 50 ms until it holds or `deadline` has passed.
bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds deadline);

// A Windows path for a path of the build machine (wine maps / to Z:\).
std::wstring windows_path(std::string_view build_path);
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// The Linux path of a Windows path, as wine maps it (its drive C: lies in the prefix).
std::string unix_path(const std::wstring& windows);

// A command of the build machine run by /bin/sh, its output and exit code
// once it ended, or nothing when it did not within the deadline. Wine runs a
// Linux program that a Windows one starts but cannot wait on it: the shell
// writes its end into a file, which is waited for.
struct NativeRun {
    int exit_code = -1;
    std::string output;  // standard output and error together
};
std::optional<NativeRun> run_native(const std::string& command,
                                    std::chrono::milliseconds deadline = 60s);

// A fresh folder for one test, removed with everything in it when it goes.
class ScratchFolder {
public:
    explicit ScratchFolder(std::wstring_view name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring file(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }

private:
    std::wstring path_;
};

bool file_exists(const std::wstring& path);
std::string read_file(const std::wstring& path);  // the bytes, or "" when missing
void write_file(const std::wstring& path, std::string_view bytes);
void copy_file(const std::wstring& from, const std::wstring& to);

// A program started by the test; killed when it goes if still running.
// Starting is tried again for a few seconds: wine has been seen, rarely, to
// fail a process creation that succeeds a moment later.
class Process {
public:
    // `creation_flags` as CreateProcessW takes them: CREATE_NEW_CONSOLE gives a
    // console program a console window of its own, as a terminal the user sees.
    explicit Process(const std::wstring& exe, const std::wstring& arguments = L"",
                     DWORD creation_flags = 0);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD id() const { return id_; }
    bool running() const;
    bool wait_for_exit(std::chrono::milliseconds deadline) const;
    void kill();

private:
    win32::KernelHandle handle_;
    DWORD id_ = 0;
};

// Whether a process with this image name runs (case-insensitive), and killing them all.
bool process_runs(std::wstring_view image_name);
void kill_processes(std::wstring_view image_name);
// Whether the process with this number runs, and killing it.
bool process_id_runs(DWORD id);
void kill_process(DWORD id);

// The top-level window of a process with exactly this caption, or null.
HWND find_window(DWORD process_id, std::wstring_view caption);
HWND wait_for_window(DWORD process_id, std::wstring_view caption,
                     std::chrono::milliseconds deadline = 20s);

// One control of a window, found by its design in the window's table.
HWND control(HWND window, const WindowSpec& layout, const ControlSpec& design);

std::wstring text(HWND window);
bool checked(HWND control);
bool enabled(HWND control);
bool visible(HWND control);
RECT window_rect(HWND window);      // screen pixels
RECT rect_in_parent(HWND control);  // pixels in the parent's client area
UINT dpi_of(HWND window);
int pixels(int twips, UINT dpi);

// A click as the user's: the control handles it in its own time (posted, so
// a handler that pauses does not hold up the test).
void click(HWND control);
// Types a whole new text into a text box.
void type(HWND text_box, std::wstring_view text);
void close(HWND window);
// Closes the window as its close box does and waits until its program has ended.
bool close_and_wait(HWND window, const Process& program, std::chrono::milliseconds deadline = 10s);

// The colour on screen in the middle of a control, as 0x00BBGGRR.
COLORREF colour_on_screen(HWND control);

// A window of another program that takes the foreground, on a thread of its
// own that keeps answering messages.
class OtherProgramWindow {
public:
    OtherProgramWindow();
    ~OtherProgramWindow();
    OtherProgramWindow(const OtherProgramWindow&) = delete;
    OtherProgramWindow& operator=(const OtherProgramWindow&) = delete;
    HWND handle() const { return window_; }
    void take_foreground() const;

private:
    win32::KernelHandle thread_;
    DWORD thread_id_ = 0;
    HWND window_ = nullptr;
    win32::KernelHandle ready_;
};

// Whether `window` is the one seen at its own middle: nothing covers it there.
bool seen_on_top(HWND window);

// The values of one section of ZV-KOB's settings; deleting it resets that instance.
using Section = std::map<std::wstring, std::wstring>;
Section read_section(std::wstring_view instance);
void delete_section(std::wstring_view instance);
void write_setting(std::wstring_view instance, std::wstring_view key, std::wstring_view value);
void write_setting_number(std::wstring_view instance, std::wstring_view key, DWORD value);

// Paths of the programs under test, as built.
std::wstring zv_kob_exe();
std::wstring stand_in_node_exe();
std::wstring stand_in_console_node_exe();  // stops on Ctrl+C
std::wstring native_node_exe();            // litecoind.exe: stands for the build machine's node

// Starts ZV-KOB from `exe` (as built, by default) into `program` and returns
// its main window once it shows: null when none showed within the deadline.
HWND start_zv_kob(std::unique_ptr<Process>& program, const std::wstring& exe = zv_kob_exe(),
                  std::wstring_view caption = main_caption);

// A copy whose settings are stored afresh to start the QT stand-in node
// (zv-e2e-qt.exe) by `batch`, with `more` settings, its history deleted:
// started, and LAUNCH clicked once the window shows the program stopped.
// Null when the window did not show or LAUNCH was not offered in time.
HWND launch_qt_stand_in(std::unique_ptr<Process>& program, const std::wstring& batch,
                        const std::map<std::wstring, std::wstring>& more);

// The stand-in node program copied to `exe` (the console one stops on Ctrl+C,
// as a node does); returns `exe`. Started, the first thing it does is write
// its arguments beside itself, which `stand_in_started` waits for.
std::wstring stand_in(const std::wstring& exe, bool console = false);
bool stand_in_started(const std::wstring& exe, std::chrono::milliseconds deadline = 10s);

// A message box the program shows, what it says, and the user's answer.
HWND wait_for_message_box(DWORD process_id, std::chrono::milliseconds deadline = 10s);
std::wstring message_box_text(HWND box);
void press_ok(HWND box);
void press_yes(HWND box);
// Waits for the program's next message box, answers it and waits until it
// has gone; returns what it said.
std::wstring answer_next_box(DWORD process_id, void (*answer)(HWND box));

// Types the node's folders and files of the settings window's own examples
// (C:\Program Files\Bitcoin\bitcoin-qt.exe ...) into its fields.
void type_worked_example(HWND settings);

// Chooses one of the window's own commands in its window menu.
void choose_window_menu_command(HWND window, const WindowSpec& layout, const ControlSpec& command);

// ZV-KOB's folder dialog for the wallet backup, chosen from the main window's
// menu (`layout`) until the command is offered (once the node has told its
// wallets): the Explorer-style one, or the folder tree where it cannot be
// shown; null when none came.
HWND open_backup_dialog(HWND window, const WindowSpec& layout, DWORD process_id);
// Answers the dialog with `chosen` once it is shown: typed into the
// Explorer-style one's name box (until it holds it: the dialog clears the box
// as it opens); the tree opens on it, the last folder used. Then OK; whether
// the dialog has gone.
bool choose_backup_folder(HWND dialog, const std::wstring& chosen);

// The history of a copy of ZV-KOB: %LOCALAPPDATA%\ZV-KOB\<instance>.log.
std::wstring history_file(std::wstring_view instance);
// How many times the history of a copy holds `text`.
std::size_t times_in_history(std::wstring_view instance, std::string_view text);

// The value "ZV-KOB <instance>" that starts a copy at sign-in, or "" when there is none.
std::wstring startup_value(std::wstring_view instance);

// The tooltip a control shows when the pointer rests on it, as the user reads
// it: a real pointer is moved there (wine ignores its own SetCursorPos), then
// away again; "" when none shows within the deadline.
std::wstring tooltip_of(HWND control, std::chrono::milliseconds deadline = 5s);
// Rests the pointer on a control, so that its tooltip shows (and stays).
void hover_over(HWND control);

// The control that has the keyboard focus in the window's thread, or null.
HWND focused_control(HWND window);

}  // namespace zvkob::e2e

namespace zvkob::e2e {

// A click as the mouse delivers it: button down and up in the middle of the
// control, queued with the window's other input (unlike BM_CLICK).
void mouse_click(HWND control);

}  // namespace zvkob::e2e
