#include "driver.hpp"

#include <tlhelp32.h>
#include <commctrl.h>

#include "platform/win32/owners.hpp"
#include "platform/win32/windows/window_host.hpp"
#include "main_window/main_window_layout.hpp"
#include "settings_window/settings_window_layout.hpp"
#include "tests/support/wine_paths.hpp"
#include "tests/support/worked_example.hpp"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace zvkob::e2e {
namespace {

using win32::file_handle;
using win32::FindHandle;
using win32::KernelHandle;
using win32::RegistryKey;

constexpr wchar_t settings_root[] = L"Software\\VB and VBA Program Settings\\ZV-KOB";
constexpr int first_control_id = 1000;

std::wstring section_key(std::wstring_view instance) {
    return std::wstring(settings_root) + L"\\" + std::wstring(instance);
}

bool same_name(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

template <typename Visit>
void for_each_process(Visit visit) {
    const KernelHandle snapshot = file_handle(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        visit(entry);
    }
}

void remove_tree(const std::wstring& path) {
    WIN32_FIND_DATAW entry{};
    if (const FindHandle search{FindFirstFileW((path + L"\\*").c_str(), &entry)}) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                remove_tree(child);
            } else {
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search.get(), &entry));
    }
    RemoveDirectoryW(path.c_str());
}

}  // namespace

bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
    const auto end = Clock::now() + deadline;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (Clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
}

std::wstring widen(std::string_view utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                            static_cast<int>(wide.size()))));
    return wide;
}

std::string narrow(std::wstring_view utf16) {
    std::string text(utf16.size() * 4, '\0');
    text.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), text.data(),
                            static_cast<int>(text.size()), nullptr, nullptr)));
    return text;
}

std::wstring windows_path(std::string_view build_path) {
    std::wstring path = widen(build_path);
    if (!path.empty() && path.front() == L'/') {
        path = L"Z:" + path;
    }
    for (wchar_t& c : path) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return path;
}

std::string unix_path(const std::wstring& windows) {
    std::optional<std::string> mapped = testing::wine_unix_path(windows);
    if (!mapped) {
        throw std::runtime_error("wine maps no Linux path for " + narrow(windows));
    }
    return std::move(*mapped);
}

std::optional<NativeRun> run_native(const std::string& command,
                                    std::chrono::milliseconds deadline) {
    static int runs = 0;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base = std::wstring(temp) + L"zvkob-native-" +
                              std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++runs);
    const std::wstring output = base + L".out";
    const std::wstring done = base + L".done";
    const std::string unix_base = unix_path(base);
    // The script goes to sh in double quotes, which wine splits by Windows' rules.
    std::string script = "(" + command + ") >'" + unix_base + ".out' 2>&1; echo $? >'" +
                         unix_base + ".part'; mv '" + unix_base + ".part' '" + unix_base +
                         ".done'";
    std::string escaped;
    for (const char c : script) {
        escaped += c == '"' ? std::string("\\\"") : std::string(1, c);
    }
    std::wstring line = L"/bin/sh -c \"" + widen(escaped) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(L"Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return std::nullopt;
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    if (!wait_until([&] { return file_exists(done); }, deadline)) {
        return std::nullopt;
    }
    NativeRun run{std::atoi(read_file(done).c_str()), read_file(output)};
    DeleteFileW(done.c_str());
    DeleteFileW(output.c_str());
    return run;
}

ScratchFolder::ScratchFolder(std::wstring_view name)
    : path_(L"C:\\zvkob-tests\\" + std::wstring(name)) {
    CreateDirectoryW(L"C:\\zvkob-tests", nullptr);
    remove_tree(path_);  // an earlier run may have been cut short
    CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    remove_tree(path_);
}

bool file_exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string read_file(const std::wstring& path) {
    const KernelHandle file =
        file_handle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) {
        return {};
    }
    std::string bytes(static_cast<std::size_t>(GetFileSize(file.get(), nullptr)), '\0');
    DWORD read = 0;
    ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

void write_file(const std::wstring& path, std::string_view bytes) {
    const KernelHandle file = file_handle(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) {
        throw std::runtime_error("cannot write " + narrow(path));
    }
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void copy_file(const std::wstring& from, const std::wstring& to) {
    if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) {
        throw std::runtime_error("cannot copy " + narrow(from) + " to " + narrow(to));
    }
}

Process::Process(const std::wstring& exe, const std::wstring& arguments, DWORD creation_flags) {
    const std::wstring command = exe.empty() ? arguments : L"\"" + exe + L"\" " + arguments;
    DWORD error = 0;
    const bool started = wait_until(
        [&] {
            std::wstring command_line = command;  // CreateProcessW may write to it
            STARTUPINFOW startup{};
            startup.cb = sizeof startup;
            PROCESS_INFORMATION process{};
            if (!CreateProcessW(exe.empty() ? nullptr : exe.c_str(), command_line.data(), nullptr,
                                nullptr, FALSE, creation_flags, nullptr, nullptr, &startup,
                                &process)) {
                error = GetLastError();
                return false;
            }
            const KernelHandle thread(process.hThread);  // the test waits on the process only
            handle_.reset(process.hProcess);
            id_ = process.dwProcessId;
            return true;
        },
        5s);
    if (!started) {
        throw std::runtime_error("cannot start " + narrow(command) + " (error " +
                                 std::to_string(error) + ")");
    }
}

Process::~Process() {
    kill();
}

bool Process::running() const {
    return WaitForSingleObject(handle_.get(), 0) == WAIT_TIMEOUT;
}

bool Process::wait_for_exit(std::chrono::milliseconds deadline) const {
    return WaitForSingleObject(handle_.get(), static_cast<DWORD>(deadline.count())) ==
           WAIT_OBJECT_0;
}

void Process::kill() {
    if (running()) {
        TerminateProcess(handle_.get(), 1);
        WaitForSingleObject(handle_.get(), 10000);
    }
}

bool process_runs(std::wstring_view image_name) {
    bool found = false;
    for_each_process([&](const PROCESSENTRY32W& entry) {
        found = found || same_name(entry.szExeFile, image_name);
    });
    return found;
}

void kill_processes(std::wstring_view image_name) {
    for_each_process([&](const PROCESSENTRY32W& entry) {
        if (same_name(entry.szExeFile, image_name)) {
            if (const KernelHandle process{
                    OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)}) {
                TerminateProcess(process.get(), 1);
                WaitForSingleObject(process.get(), 10000);
            }
        }
    });
}

bool process_id_runs(DWORD id) {
    const KernelHandle process{OpenProcess(SYNCHRONIZE, FALSE, id)};
    return process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

void kill_process(DWORD id) {
    if (const KernelHandle process{OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)}) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 10000);
    }
}

HWND find_window(DWORD process_id, std::wstring_view caption) {
    struct Search {
        DWORD process_id;
        std::wstring_view caption;
        HWND found;
    } search{process_id, caption, nullptr};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s.process_id && text(window) == s.caption) {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND wait_for_window(DWORD process_id, std::wstring_view caption,
                     std::chrono::milliseconds deadline) {
    HWND found = nullptr;
    wait_until([&] { return (found = find_window(process_id, caption)) != nullptr; }, deadline);
    return found;
}

HWND control(HWND window, const WindowSpec& layout, const ControlSpec& design) {
    for (std::size_t index = 0; index < layout.controls.size(); ++index) {
        if (layout.controls[index] == &design) {
            return GetDlgItem(window, first_control_id + static_cast<int>(index));
        }
    }
    throw std::logic_error("no control " + std::string(design.name) + " in " +
                           std::string(layout.name));
}

std::wstring text(HWND window) {
    wchar_t buffer[4096] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return buffer;
}

bool checked(HWND control) {
    return SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
bool enabled(HWND control) {
    return IsWindowEnabled(control) != FALSE;
}
bool visible(HWND control) {
    return (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

RECT window_rect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

RECT rect_in_parent(HWND control) {
    RECT rect = window_rect(control);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

UINT dpi_of(HWND window) {
    const UINT dpi = GetDpiForWindow(window);
    return dpi == 0 ? 96 : dpi;
}

int pixels(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

void click(HWND control) {
    PostMessageW(control, BM_CLICK, 0, 0);
}

void type(HWND text_box, std::wstring_view new_text) {
    const std::wstring copy(new_text);
    SendMessageTimeoutW(text_box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
}

void close(HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
}

bool close_and_wait(HWND window, const Process& program, std::chrono::milliseconds deadline) {
    close(window);
    return program.wait_for_exit(deadline);
}

COLORREF colour_on_screen(HWND control) {
    const RECT rect = window_rect(control);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, rect.left + 3, rect.bottom - 3);
    ReleaseDC(nullptr, screen);
    return colour;
}

OtherProgramWindow::OtherProgramWindow() : ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_.reset(CreateThread(
        nullptr, 0,
        [](void* parameter) -> DWORD {
            auto& self = *static_cast<OtherProgramWindow*>(parameter);
            self.window_ = CreateWindowExW(0, L"STATIC", L"another program", WS_POPUP | WS_VISIBLE,
                                           0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
            SetEvent(self.ready_.get());
            MSG message{};
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                DispatchMessageW(&message);
            }
            DestroyWindow(self.window_);
            return 0;
        },
        this, 0, &thread_id_));
    WaitForSingleObject(ready_.get(), 10000);
}

OtherProgramWindow::~OtherProgramWindow() {
    PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_.get(), 10000);
}

// As a user's click on it: raised above other windows and given the input.
void OtherProgramWindow::take_foreground() const {
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
    SetForegroundWindow(window_);
}

bool seen_on_top(HWND window) {
    const RECT rect = window_rect(window);
    const POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    return GetAncestor(WindowFromPoint(middle), GA_ROOT) == window;
}

Section read_section(std::wstring_view instance) {
    Section values;
    RegistryKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, section_key(instance).c_str(), 0, KEY_READ,
                      key.receive()) != ERROR_SUCCESS) {
        return values;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD name_length = std::size(name);
        BYTE data[16384];
        DWORD data_size = sizeof data;
        DWORD type = 0;
        if (RegEnumValueW(key.get(), index, name, &name_length, nullptr, &type, data, &data_size) !=
            ERROR_SUCCESS) {
            break;
        }
        std::wstring value(reinterpret_cast<const wchar_t*>(data), data_size / sizeof(wchar_t));
        while (!value.empty() && value.back() == L'\0') {
            value.pop_back();
        }
        values[std::wstring(name, name_length)] = type == REG_SZ ? value : L"<not REG_SZ>";
    }
    return values;
}

void delete_section(std::wstring_view instance) {
    RegDeleteTreeW(HKEY_CURRENT_USER, section_key(instance).c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, section_key(instance).c_str());
}

void write_setting(std::wstring_view instance, std::wstring_view key, std::wstring_view value) {
    RegistryKey section;
    RegCreateKeyExW(HKEY_CURRENT_USER, section_key(instance).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                    nullptr, section.receive(), nullptr);
    const std::wstring data(value);
    RegSetValueExW(section.get(), std::wstring(key).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

void write_setting_number(std::wstring_view instance, std::wstring_view key, DWORD value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, section_key(instance).c_str(), std::wstring(key).c_str(),
                    REG_DWORD, &value, sizeof value);
}

std::wstring zv_kob_exe() {
    return windows_path(ZVKOB_EXE);
}
std::wstring stand_in_node_exe() {
    return windows_path(ZVKOB_STAND_IN_NODE_EXE);
}

std::wstring stand_in_console_node_exe() {
    return windows_path(ZVKOB_STAND_IN_CONSOLE_NODE_EXE);
}

std::wstring native_node_exe() {
    return windows_path(ZVKOB_NATIVE_NODE_EXE);
}

HWND start_zv_kob(std::unique_ptr<Process>& program, const std::wstring& exe,
                  std::wstring_view caption) {
    program = std::make_unique<Process>(exe);
    return wait_for_window(program->id(), caption);
}

HWND launch_qt_stand_in(std::unique_ptr<Process>& program, const std::wstring& batch,
                        const std::map<std::wstring, std::wstring>& more) {
    delete_section(L"ZV-KOB");
    DeleteFileW(history_file(L"ZV-KOB").c_str());
    std::wstring node_stops = history_file(L"ZV-KOB");  // an earlier run's measured stops
    node_stops.replace(node_stops.size() - 4, 4, L".node-stops");
    DeleteFileW(node_stops.c_str());
    Section settings{{L"QT_NAME_TEXTBOX", L"zv-e2e-qt.exe"},
                     {L"BAT_QT_RUN_COMMAND_TEXTBOX", batch},
                     {L"USE_QT_BAT_TICKBOX", L"1"}};
    settings.insert(more.begin(), more.end());
    for (const auto& [key, value] : settings) {
        write_setting(L"ZV-KOB", key, value);
    }
    const HWND window = start_zv_kob(program);
    if (window == nullptr) {
        return nullptr;
    }
    const WindowSpec& layout = main_window_layout();
    const HWND launch = control(window, layout, main_layout::launch_button);
    const HWND label = control(window, layout, main_layout::qt_status);
    if (!wait_until([&] { return enabled(launch) && text(label) == L"!!! QT STOPPED !!!"; }, 5s)) {
        return nullptr;
    }
    click(launch);
    return window;
}

std::wstring stand_in(const std::wstring& exe, bool console) {
    copy_file(console ? stand_in_console_node_exe() : stand_in_node_exe(), exe);
    return exe;
}

bool stand_in_started(const std::wstring& exe, std::chrono::milliseconds deadline) {
    return wait_until([&] { return file_exists(exe + L".args"); }, deadline);
}

HWND wait_for_message_box(DWORD process_id, std::chrono::milliseconds deadline) {
    struct Search {
        DWORD process_id;
        HWND found;
    } search{process_id, nullptr};
    wait_until(
        [&] {
            EnumWindows(
                [](HWND window, LPARAM parameter) -> BOOL {
                    auto& s = *reinterpret_cast<Search*>(parameter);
                    DWORD owner = 0;
                    GetWindowThreadProcessId(window, &owner);
                    wchar_t class_name[16] = {};
                    GetClassNameW(window, class_name, static_cast<int>(std::size(class_name)));
                    if (owner == s.process_id && IsWindowVisible(window) &&
                        std::wstring_view(class_name) == L"#32770") {
                        s.found = window;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        deadline);
    return search.found;
}

std::wstring message_box_text(HWND box) {
    constexpr int message_text_id = 0xFFFF;  // the static control a message box shows its text in
    return text(GetDlgItem(box, message_text_id));
}

void press_ok(HWND box) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void press_yes(HWND box) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
}

std::wstring answer_next_box(DWORD process_id, void (*answer)(HWND box)) {
    HWND box = wait_for_message_box(process_id);
    if (box == nullptr) {
        return L"<no message box>";
    }
    const std::wstring said = message_box_text(box);
    answer(box);
    wait_until([box] { return IsWindow(box) == FALSE; }, 5s);
    return said;
}

void type_worked_example(HWND settings) {
    for (const testing::worked_example::Field& field : testing::worked_example::fields) {
        type(control(settings, settings_window_layout(), field.design), widen(field.value));
    }
}

void choose_window_menu_command(HWND window, const WindowSpec& layout, const ControlSpec& command) {
    const auto& menu = layout.window_menu;
    const auto index = std::find(menu.begin(), menu.end(), &command) - menu.begin();
    PostMessageW(window, WM_SYSCOMMAND, win32::first_menu_command + 16 * index, 0);
}

HWND open_backup_dialog(HWND window, const WindowSpec& layout, DWORD process_id) {
    HWND dialog = nullptr;
    wait_until(
        [&] {
            choose_window_menu_command(window, layout, main_layout::back_up_wallets);
            return wait_until(
                [&] {
                    dialog = find_window(process_id, L"Back Up Wallets");
                    dialog = dialog ? dialog : find_window(process_id, L"Browse for Folder");
                    return dialog != nullptr;
                },
                2s);
        },
        40s);
    return dialog;
}

bool choose_backup_folder(HWND dialog, const std::wstring& chosen) {
    const bool tree = text(dialog) == L"Browse for Folder";
    HWND ready = nullptr;
    const bool shown = wait_until(
        [&] {
            ready = FindWindowExW(dialog, nullptr, tree ? L"SysTreeView32" : L"Edit", nullptr);
            if (ready == nullptr || !IsWindowVisible(dialog)) {
                return false;
            }
            if (tree) {
                return SendMessageW(ready, TVM_GETNEXTITEM, TVGN_CARET, 0) != 0;
            }
            type(ready, chosen);
            return text(ready) == chosen;
        },
        20s);
    if (!shown) {
        return false;
    }
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    return wait_until([dialog] { return !IsWindow(dialog); }, 10s);
}

std::wstring history_file(std::wstring_view instance) {
    wchar_t folder[MAX_PATH] = {};
    GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH);
    return std::wstring(folder) + L"\\ZV-KOB\\" + std::wstring(instance) + L".log";
}

std::size_t times_in_history(std::wstring_view instance, std::string_view text) {
    const std::string history = read_file(history_file(instance));
    std::size_t count = 0;
    for (auto at = history.find(text); at != std::string::npos; at = history.find(text, at + 1)) {
        ++count;
    }
    return count;
}

std::wstring startup_value(std::wstring_view instance) {
    wchar_t value[2048] = {};
    DWORD size = sizeof value;
    const std::wstring name = L"ZV-KOB " + std::wstring(instance);
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                     name.c_str(), RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
        return {};
    }
    return value;
}

namespace {

// The pointer on the virtual screen, moved as a user's hand would move it.
void move_pointer_to(int x, int y) {
    std::wstring command =
        L"/usr/bin/xdotool mousemove " + std::to_wstring(x) + L" " + std::to_wstring(y);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (CreateProcessW(L"/usr/bin/xdotool", command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &started)) {
        const KernelHandle process{started.hProcess};
        const KernelHandle thread{started.hThread};
        WaitForSingleObject(process.get(), 5000);
    }
}

HWND shown_tooltip_of(DWORD process_id) {
    struct Search {
        DWORD process_id;
        HWND found = nullptr;
    } search{process_id};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t class_name[32] = {};
            GetClassNameW(window, class_name, static_cast<int>(std::size(class_name)));
            if (owner == s.process_id && IsWindowVisible(window) &&
                std::wstring_view(class_name) == L"tooltips_class32") {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

void hover_over(HWND control) {
    const RECT rect = window_rect(control);
    move_pointer_to(rect.left - 5, rect.bottom + 20);
    move_pointer_to((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    move_pointer_to((rect.left + rect.right) / 2 + 1, (rect.top + rect.bottom) / 2);
}

std::wstring tooltip_of(HWND control, std::chrono::milliseconds deadline) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(control, &process_id);
    const RECT rect = window_rect(control);
    const int x = (rect.left + rect.right) / 2;
    const int y = (rect.top + rect.bottom) / 2;
    HWND tip = nullptr;
    // The pointer comes in from beside the control, as a hand moves it.
    move_pointer_to(rect.left - 5, rect.bottom + 20);
    move_pointer_to(x, y);
    wait_until(
        [&] {
            move_pointer_to(x + 1, y);  // a tooltip waits for the pointer to rest after a move
            return (tip = shown_tooltip_of(process_id)) != nullptr;
        },
        deadline);
    const std::wstring shown = tip != nullptr ? text(tip) : std::wstring();
    move_pointer_to(rect.left - 5, rect.bottom + 20);
    wait_until([&] { return shown_tooltip_of(process_id) == nullptr; }, deadline);
    return shown;
}

HWND focused_control(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
        return nullptr;
    }
    return info.hwndFocus;
}

}  // namespace zvkob::e2e

namespace zvkob::e2e {

void mouse_click(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    PostMessageW(control, WM_LBUTTONUP, 0, middle);
}

}  // namespace zvkob::e2e
