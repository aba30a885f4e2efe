#pragma once
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "core/node_log/node_log_session.hpp"
#include "platform/process_probe.hpp"
#include "platform/settings_store.hpp"
#include "main_window/main_window.hpp"
#include "platform/background_work.hpp"
#include "platform/clock.hpp"
#include "platform/command_runner.hpp"
#include "platform/file_system.hpp"
#include "platform/folder_picker.hpp"
#include "platform/history.hpp"
#include "platform/loopback_http.hpp"
#include "platform/node_control.hpp"
#include "platform/node_service.hpp"
#include "platform/node_wallets.hpp"
#include "platform/notifier.hpp"
#include "platform/other_copies.hpp"
#include "platform/pause.hpp"
#include "platform/port_listeners.hpp"
#include "platform/power_request.hpp"
#include "core/power/metered_pause.hpp"
#include "platform/link_cost.hpp"
#include "platform/power_source.hpp"
#include "platform/process_priority.hpp"
#include "platform/record_writer.hpp"
#include "platform/startup_entry.hpp"
#include "platform/notification_area.hpp"
#include "platform/taskbar_button.hpp"
#include "platform/window_manager.hpp"

namespace zvkob::testing {

// One log of every service call, in order, so tests can check sequences.
using CallLog = std::vector<std::string>;

// The calls of a log that begin with `prefix` ("get ", "save "), in order.
inline CallLog calls_starting(const CallLog& log, std::string_view prefix) {
    CallLog calls;
    for (const std::string& call : log) {
        if (call.starts_with(prefix)) {
            calls.push_back(call);
        }
    }
    return calls;
}

class FakeStore : public SettingsStore {
public:
    explicit FakeStore(CallLog& log) : log_(log) {}

    std::map<std::string, std::string, std::less<>> values;
    std::vector<std::string> failing_keys;  // saves of these keys fail

    std::string get(std::string_view key, std::string_view default_text) override {
        log_.push_back("get " + std::string(key));
        const auto found = values.find(key);
        return found == values.end() ? std::string(default_text) : found->second;
    }

    bool has(std::string_view key) override { return values.find(key) != values.end(); }

    Outcome save(std::string_view key, std::string_view text) override {
        log_.push_back("save " + std::string(key) + "=" + std::string(text));
        for (const auto& failing : failing_keys) {
            if (failing == key) {
                return Outcome::failure("Access is denied.");
            }
        }
        values[std::string(key)] = text;
        return Outcome::success();
    }

private:
    CallLog& log_;
};

class FakeProbe : public ProcessProbe {
public:
    explicit FakeProbe(CallLog& log) : log_(log) {}

    std::vector<std::string> running;             // image names that run
    std::map<std::string, std::string> failures;  // image name -> why the query failed
    // How many processes the query counts for a name; nothing: it does not count.
    std::function<std::optional<std::size_t>(std::string_view)> count_of = [](std::string_view) {
        return std::optional<std::size_t>();
    };

    ProbeAnswer is_running(std::string_view image_name) override {
        log_.push_back("probe " + std::string(image_name));
        const auto failed = failures.find(std::string(image_name));
        if (failed != failures.end()) {
            return ProbeAnswer{.running = false, .failure = failed->second};
        }
        for (const auto& name : running) {
            if (name == image_name) {
                return ProbeAnswer{.running = true, .failure = {}, .count = count_of(image_name)};
            }
        }
        return ProbeAnswer{};
    }

private:
    CallLog& log_;
};

class FakeProcess : public HeldProcess {
public:
    explicit FakeProcess(unsigned long id = 4711, std::int64_t created_ms = 0)
        : id_(id), created_ms_(created_ms) {}
    std::optional<ProcessEnd> ended;
    unsigned long id() const override { return id_; }
    std::int64_t created_ms() const override { return created_ms_; }
    std::optional<ProcessEnd> end() override { return ended; }

private:
    unsigned long id_;
    std::int64_t created_ms_;
};

class FakeRunner : public CommandRunner {
public:
    explicit FakeRunner(CallLog& log) : log_(log) {}

    std::string failure;                     // when set, every start fails with this reason
    std::optional<unsigned long> ends_with;  // the started process has ended so by the pause's end
    std::shared_ptr<FakeProcess> last_started;

    Start run_hidden(std::string_view command_line, NodePriority priority) override {
        log_.push_back("run " + std::string(command_line) +
                       (priority == NodePriority::low ? " below normal" : ""));
        if (!failure.empty()) {
            return {nullptr, failure};
        }
        auto process = std::make_shared<FakeProcess>();
        if (ends_with) {
            process->ended = ProcessEnd{*ends_with, 0};
        }
        last_started = process;
        return {process, {}};
    }

private:
    CallLog& log_;
};

class FakePause : public Pause {
public:
    explicit FakePause(CallLog& log) : log_(log) {}
    void pause(int milliseconds) override {
        log_.push_back("pause " + std::to_string(milliseconds));
    }

private:
    CallLog& log_;
};

class FakeWindows : public WindowManager {
public:
    explicit FakeWindows(CallLog& log) : log_(log) {}

    static constexpr WindowHandle main = 100;
    WindowHandle foreground = main;

    WindowHandle main_window() override { return main; }
    void set_shutdown_level(unsigned level) override {
        log_.push_back("shutdown level " + std::to_string(level));
    }
    WindowHandle foreground_window() override {
        log_.push_back("foreground");
        return foreground;
    }
    void place_topmost(WindowHandle window, bool topmost) override {
        log_.push_back((topmost ? "topmost " : "not topmost ") + std::to_string(window));
    }
    std::function<void()> while_settings_shown;  // what happens while it is open; may throw

    void show_settings_window(HandOverReceiver&) override {
        log_.push_back("show settings");
        if (while_settings_shown) {
            while_settings_shown();
        }
    }
    void close_settings_window() override { log_.push_back("close settings window"); }
    void close_main_window() override { log_.push_back("close main"); }
    void flash_main_window() override { log_.push_back("flash"); }
    void hold_session_end(std::string_view reason) override {
        log_.push_back("hold session end: " + std::string(reason));
    }
    void release_session_end() override { log_.push_back("release session end"); }

private:
    CallLog& log_;
};

// A clock the test moves on.
class FakeClock : public Clock {
public:
    std::int64_t now = 1'800'000'000'000;  // a day in 2027, in milliseconds
    std::int64_t now_ms() override { return now; }
    int utc_offset_minutes_at(std::int64_t) override { return 60; }
    void advance(std::int64_t milliseconds) { now += milliseconds; }
};

// The history as a list of events, kept apart from the call log.
class FakeHistory : public History {
public:
    std::vector<std::string> events;
    std::optional<std::string> failing;  // when set, writing fails with this reason
    std::string open_failure;            // when set, opening fails with this reason
    int openings = 0;

    void record(std::string_view event) override { events.emplace_back(event); }
    std::string path() override { return "C:\\Users\\node\\AppData\\Local\\ZV-KOB\\ZV-KOB.log"; }
    std::optional<std::string> failure() override { return failing; }
    Outcome open() override {
        ++openings;
        return open_failure.empty() ? Outcome::success() : Outcome::failure(open_failure);
    }
    int flushes = 0;
    void flush() override { ++flushes; }
    // How many events hold this text, and whether any does.
    std::size_t count(std::string_view text) const {
        return static_cast<std::size_t>(
            std::count_if(events.begin(), events.end(),
                          [text](const std::string& e) { return e.find(text) != e.npos; }));
    }
    bool holds(std::string_view text) const { return count(text) != 0; }
};

// The node's log as the node writes it, read as the platform reads it: from
// an open handle, a few bytes at a time when the test says so, or its end.
struct FakeLog : OpenedLog {
    explicit FakeLog(std::string written = {}) : text(std::move(written)) {}
    std::string text;
    std::size_t most_per_read = std::size_t{1} << 30U;
    int reads = 0;
    std::vector<std::size_t> tails;  // the bytes each read of its end asked for

    std::uint64_t size() override { return text.size(); }
    std::string read(std::uint64_t offset, std::size_t bytes) override {
        ++reads;
        return offset >= text.size() ? std::string()
                                     : text.substr(offset, std::min(bytes, most_per_read));
    }
    LogTail operator()(std::size_t last_bytes) {
        tails.push_back(last_bytes);
        const std::size_t size = std::min(last_bytes, text.size());
        return {text.substr(text.size() - size), size == text.size(), {}};
    }
};

// A node's cookie, as it writes it beside its data.
inline const std::string node_cookie = "__cookie__:" + std::string(64, 'c');

// Every file and folder exists but those named missing; the node's log, the
// text files and the free space are as the test says.
class FakeFileSystem : public FileSystem {
public:
    std::vector<std::string> missing;
    FreeSpace free{.bytes = 500ULL << 30U, .failure = {}};
    FileEnd log_end;                                // what read_end gives
    std::map<std::string, FileEnd> ends;            // ...but for these files
    std::map<std::string, std::string> text_files;  // what read_text finds
    std::vector<std::string> paths_read;            // every read_end, in order

    bool is_file(std::string_view path) override {
        return std::find(missing.begin(), missing.end(), path) == missing.end();
    }
    FileEnd read_end(std::string_view path, std::size_t) override {
        paths_read.emplace_back(path);
        const auto found = ends.find(std::string(path));
        return found == ends.end() ? log_end : found->second;
    }
    std::optional<std::string> read_text(std::string_view path, TextCoding) override {
        const auto found = text_files.find(std::string(path));
        return found == text_files.end() ? std::nullopt : std::optional(found->second);
    }
    // ZV-KOB's own files: those of text_files, else there but unreadable, else not there.
    std::map<std::string, std::string> unreadable;  // path -> why
    OwnFile read_own_file(std::string_view path) override {
        const auto found = text_files.find(std::string(path));
        if (found != text_files.end()) {
            return {found->second, {}};
        }
        const auto held = unreadable.find(std::string(path));
        return {std::nullopt, held == unreadable.end() ? std::string() : held->second};
    }
    // The node's log as the node writes it, for open_shared.
    std::string growing_log;
    std::string open_failure;
    OpenedFile open_shared(std::string_view path) override {
        paths_read.emplace_back(path);
        if (!open_failure.empty()) {
            return {nullptr, open_failure};
        }
        return {std::make_unique<FakeLog>(growing_log), {}};  // opened, read and closed at once
    }
    bool is_folder(std::string_view path) override { return is_file(path); }
    std::map<std::string, std::vector<std::string>> folder_names;  // what names_in lists
    std::vector<std::string> unlisted;  // folders there whose names cannot be listed
    FolderNames names_in(std::string_view folder) override {
        if (!is_folder(folder)) {
            return {{}, "The system cannot find the path specified."};
        }
        if (std::find(unlisted.begin(), unlisted.end(), folder) != unlisted.end()) {
            return {{}, "Access is denied."};
        }
        const auto found = folder_names.find(std::string(folder));
        return {found == folder_names.end() ? std::vector<std::string>{} : found->second, {}};
    }
    FreeSpace free_space(std::string_view) override { return free; }
    std::map<std::string, std::string> resolved_folders;  // what Windows makes of a folder
    std::string resolve_folder(std::string_view folder) override {
        const auto found = resolved_folders.find(std::string(folder));
        return found == resolved_folders.end() ? std::string(folder) : found->second;
    }
    FolderSize folder_bytes;  // what folder_size tells
    int folder_walks = 0;
    FolderSize folder_size(std::string_view, std::int64_t) override {
        ++folder_walks;
        return folder_bytes;
    }
};

// The node processes the test starts and ends; requests to stop are logged.
class FakeNodeControl : public NodeControl {
public:
    explicit FakeNodeControl(CallLog& log) : log_(log) {}

    struct Process {
        std::string image;
        unsigned long parent_id = 0;
        std::optional<std::string> command_line;  // nothing: Windows shows none
        std::shared_ptr<FakeProcess> held;
        std::string refusal;  // when set, Windows will not open it
        ProcessOwner owner = ProcessOwner::this_user_here;
    };
    std::map<unsigned long, Process> processes;
    std::string refusal;  // when set, every request to stop fails with this reason

    void start(unsigned long id, std::string image, unsigned long parent_id,
               std::optional<std::string> command_line = {}, std::int64_t created_ms = 0) {
        processes[id] = {std::move(image),
                         parent_id,
                         std::move(command_line),
                         std::make_shared<FakeProcess>(id, created_ms),
                         {},
                         ProcessOwner::this_user_here};
    }
    void end(unsigned long id, unsigned long exit_code, std::int64_t at_ms) {
        processes.at(id).held->ended = ProcessEnd{exit_code, at_ms};
    }
    // The live process with this image, or 0.
    unsigned long running(std::string_view image) const {
        for (const auto& [id, process] : processes) {
            if (process.image == image && !process.held->ended) {
                return id;
            }
        }
        return 0;
    }

    int listings = 0;  // snapshots of the process list taken
    ProcessList processes_named(std::string_view image) override {
        ++listings;
        ProcessList list;
        for (const auto& [id, process] : processes) {
            if (process.image == image && !process.held->ended) {
                list.processes.push_back({id, process.parent_id});
            }
        }
        return list;
    }
    Holding hold(unsigned long id) override {
        const auto found = processes.find(id);
        if (found == processes.end() || found->second.held->ended) {
            return {nullptr, true, {}};
        }
        if (!found->second.refusal.empty()) {
            return {nullptr, false, found->second.refusal};
        }
        return {found->second.held, false, {}};
    }
    std::optional<std::string> command_line(unsigned long id) override {
        const auto found = processes.find(id);
        return found == processes.end() ? std::nullopt : found->second.command_line;
    }
    ProcessOwner owner(unsigned long id) override {
        const auto found = processes.find(id);
        return found == processes.end() ? ProcessOwner::unknown : found->second.owner;
    }
    bool windows_shown = true;  // whether a windowed node shows any
    Outcome press_ctrl_c(unsigned long process_id, const HeldProcess* interpreter) override {
        return ask("ctrl+c " + std::to_string(process_id) +
                   (interpreter ? " through " + std::to_string(interpreter->id()) : ""));
    }
    bool end_left_interpreter(HeldProcess& interpreter) override {
        log_.push_back("end interpreter " + std::to_string(interpreter.id()));
        return true;
    }
    Outcome close_windows(unsigned long process_id) override {
        return ask("close windows " + std::to_string(process_id));
    }
    bool shows_a_window(unsigned long) override { return windows_shown; }

private:
    Outcome ask(std::string call) {
        log_.push_back(std::move(call));
        return refusal.empty() ? Outcome::success() : Outcome::failure(refusal);
    }
    CallLog& log_;
};

// The worker: each piece of work runs at once and its answer follows, unless
// the test holds them (all, or a lane's), to let them go later in the order
// given. A held lane holds its own pieces only, as the real lanes do.
class FakeBackgroundWork : public BackgroundWork {
public:
    using BackgroundWork::BackgroundWork;
    bool holding = false;
    std::set<Lane> held_lanes;
    struct Piece {
        Lane lane;
        std::function<void()> work;
        std::function<void()> answer;
        std::function<void()> if_dropped;
    };
    std::vector<Piece> held;

    // Finishes the oldest piece: its work, then its answer.
    void release_one() { release_at(0); }
    void release_all() {
        while (!held.empty()) {
            release_one();
        }
    }
    // Finishes the oldest piece of the lane, if any.
    bool release(Lane lane) {
        for (std::size_t at = 0; at < held.size(); ++at) {
            if (held[at].lane == lane) {
                release_at(at);
                return true;
            }
        }
        return false;
    }
    // As ZV-KOB closes: every piece still waiting is dropped unrun.
    void drop_all() {
        for (Piece& piece : std::exchange(held, {})) {
            if (piece.if_dropped) {
                piece.if_dropped();
            }
        }
    }
    std::size_t held_on(Lane lane) const {
        return static_cast<std::size_t>(std::count_if(
            held.begin(), held.end(), [lane](const Piece& piece) { return piece.lane == lane; }));
    }

private:
    void release_at(std::size_t at) {
        Piece piece = std::move(held[at]);
        held.erase(held.begin() + static_cast<std::ptrdiff_t>(at));
        piece.work();
        piece.answer();
    }
    void hand_over(Lane lane, std::function<void()> work, std::function<void()> answer,
                   std::function<void()> if_dropped) override {
        held.push_back({lane, std::move(work), std::move(answer), std::move(if_dropped)});
        if (holding || held_lanes.contains(lane)) {
            return;
        }
        while (release(lane)) {
        }
    }
};

// The taskbar button: what it shows, each change once.
class FakeTaskbar : public TaskbarButton {
public:
    std::vector<TaskbarProgress> shown;
    int looks = 0;  // every time the window showed its state, changed or not
    void show(const TaskbarProgress& progress) override {
        ++looks;
        if (shown.empty() || shown.back().mark != progress.mark ||
            shown.back().value != progress.value) {
            shown.push_back(progress);
        }
    }
};

// Other copies of ZV-KOB, answering as the test says (none holds anything by default).
class FakeOtherCopies : public OtherCopies {
public:
    std::map<unsigned long, CopiesAnswer> answers;
    int questions = 0;
    std::uint32_t last_mark = 0;  // the folder mark of the last question
    unsigned long news_count = 0;
    int told = 0;
    CopiesAnswer who_holds(unsigned long process_id, std::uint32_t folder_mark) override {
        ++questions;
        last_mark = folder_mark;
        const auto found = answers.find(process_id);
        return found == answers.end() ? CopiesAnswer::none_holds_it : found->second;
    }
    unsigned long news() const override { return news_count; }
    void tell_others() override { ++told; }
};

class FakeStartup : public StartupEntry {
public:
    explicit FakeStartup(CallLog& log) : log_(log) {}
    bool is_registered = false;
    std::string failure;  // when set, changes fail with this reason

    bool registered() override { return is_registered; }
    Outcome add() override { return change(true); }
    Outcome remove() override { return change(false); }

private:
    Outcome change(bool on) {
        log_.push_back(on ? "add startup entry" : "remove startup entry");
        if (!failure.empty()) {
            return Outcome::failure(failure);
        }
        is_registered = on;
        return Outcome::success();
    }
    CallLog& log_;
};

class FakeNotifier : public Notifier {
public:
    explicit FakeNotifier(CallLog& log) : log_(log) {}
    std::vector<std::string> messages;
    bool answer = true;                // to every question
    std::function<void()> while_open;  // what happens while a message box stays open
    void show_error(std::string_view message) override {
        log_.push_back("message");
        messages.emplace_back(message);
        if (while_open) {
            while_open();
        }
    }
    bool ask(std::string_view question) override {
        log_.push_back(answer ? "question, yes" : "question, no");
        messages.emplace_back(question);
        return answer;
    }
    void close_open_messages() override { log_.push_back("close messages"); }

private:
    CallLog& log_;
};

// The notification area: each call as a line, the icon by its tooltip.
class FakeNotificationArea : public NotificationArea {
public:
    CallLog calls;
    bool refuses = false;
    bool busy = false;
    std::optional<std::size_t> menu_choice;

    bool show(const TrayIcon& icon) override {
        calls.push_back("show " + icon.tooltip);
        return !refuses;
    }
    void remove() override { calls.push_back("remove"); }
    std::string last_notice;  // the text of the last one
    bool notify(NoticeKind, std::string_view title, std::string_view text) override {
        calls.push_back("notify " + std::string(title));
        last_notice = text;
        return true;
    }
    bool user_is_busy() override { return busy; }
    std::string why() override { return "The taskbar is not there."; }
    std::optional<std::size_t> choose_from_menu(const std::vector<MenuChoice>&,
                                                ScreenPoint) override {
        calls.push_back("menu");
        return menu_choice;
    }
    void hide_window() override { calls.push_back("hide"); }
    void bring_window_back() override { calls.push_back("bring back"); }

    CallLog take() { return std::exchange(calls, {}); }
};

// A loopback that answers from a script and records what was sent; with no
// answer left, the connection is refused.
class ScriptedHttp : public LoopbackHttp {
public:
    std::vector<HttpAnswer> answers;
    std::vector<std::string> authorizations;
    std::vector<std::string> addresses;
    std::vector<std::string> bodies;
    std::vector<std::chrono::milliseconds> waits;  // each post's answer_within
    std::vector<std::uint16_t> ports;
    std::function<void()> on_post;
    std::function<HttpAnswer(const LoopbackPost&)> respond;  // when set, it answers

    HttpAnswer post(const LoopbackPost& request) override {
        authorizations.emplace_back(request.authorization);
        addresses.emplace_back(request.address);
        bodies.emplace_back(request.body);
        waits.push_back(request.answer_within);
        ports.push_back(request.port);
        if (on_post) {
            on_post();
        }
        if (respond) {
            return respond(request);
        }
        if (answers.empty()) {
            return {HttpOutcome::failed, 0, "", "connection refused"};
        }
        HttpAnswer answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
};

// Answers each call as a node does, by its method: its result as JSON, an
// error object ({"code":...}), or "HTTP 401" for a bare status.
inline std::function<HttpAnswer(const LoopbackPost&)> node_answering(
    std::map<std::string, std::string> replies) {
    return [replies = std::move(replies)](const LoopbackPost& post) -> HttpAnswer {
        const std::string body(post.body);
        const auto field = [&body](std::string_view key, char end) {
            const auto from = body.find(key) + key.size();
            return body.substr(from, body.find(end, from) - from);
        };
        const auto reply = replies.find(field(R"("method":")", '"'));
        if (reply == replies.end() || reply->second.starts_with("HTTP ")) {
            const int status = reply == replies.end() ? 404 : std::stoi(reply->second.substr(5));
            return {HttpOutcome::answered, status, "", ""};
        }
        const char* key = reply->second.starts_with(R"({"code")") ? "error" : "result";
        return {HttpOutcome::answered, 200,
                std::string(R"({"jsonrpc":"2.0",")") + key + R"(":)" + reply->second + R"(,"id":)" +
                    field(R"("id":)", ',') + "}",
                ""};
    };
}

// Who listens where: elsewhere than the test names, a listener Windows does
// not name (as wine), unless the test names its process.
class ScriptedListeners : public PortListeners {
public:
    std::map<std::string, PortListener> by_address;
    PortListener elsewhere{PortListener::Kind::listening, 0, ""};
    PortListener who_listens(std::string_view address, std::uint16_t) override {
        const auto found = by_address.find(std::string(address));
        return found == by_address.end() ? elsewhere : found->second;
    }
    std::map<unsigned long, std::vector<LoopbackBind>> binds_of;  // as Windows names them
    std::vector<LoopbackBind> loopback_binds_of(unsigned long process_id) override {
        const auto found = binds_of.find(process_id);
        return found == binds_of.end() ? std::vector<LoopbackBind>{} : found->second;
    }
};

// The power request: each hold and let-go as a line.
class FakePowerRequest : public PowerRequest {
public:
    explicit FakePowerRequest(CallLog& log) : log_(log) {}
    std::string refusal;  // when set, holding fails with this reason
    AwakeHold hold(std::string_view reason) override {
        log_.push_back("hold awake: " + std::string(reason));
        held_ = refusal.empty();
        return {held_ ? AwakeMeans::power_request : AwakeMeans::none, refusal};
    }
    void let_go() override {
        log_.push_back("let the PC sleep");
        held_ = false;
    }
    bool holding() const override { return held_; }

private:
    CallLog& log_;
    bool held_ = false;
};

// The folder dialog, answering as the test says.
class FakeFolderPicker : public FolderPicker {
public:
    explicit FakeFolderPicker(CallLog& log) : log_(log) {}
    FolderChoice answer;
    FolderChoice pick(std::string_view title, std::string_view start_folder) override {
        log_.push_back("pick folder: " + std::string(title) + " at " + std::string(start_folder));
        return answer;
    }

private:
    CallLog& log_;
};

// The node's wallets as the test says; a wallet named in `refusals` is not
// written, with that error.
class FakeNodeWallets : public NodeWallets {
public:
    std::map<std::string, std::string> refusals;
    std::vector<RpcTarget> asked;           // every call's node, in order
    std::vector<std::string> destinations;  // every call's file, in order

    WalletBackup back_up(const RpcTarget& node, const WalletBackup& backup) override {
        asked.push_back(node);
        destinations.push_back(backup.destination);
        WalletBackup done = backup;
        const auto refused = refusals.find(backup.wallet);
        done.error = refused == refusals.end() ? std::string() : refused->second;
        return done;
    }
};

// The PC's power as a test sets it; nothing read while `failing` says why.
class FakePowerSource : public PowerSource {
public:
    PowerReading reading{.line = PowerLine::mains, .battery_present = true, .percent = 100};
    std::string failing;
    int reads = 0;

    std::optional<PowerReading> read() override {
        ++reads;
        return failing.empty() ? std::optional(reading) : std::nullopt;
    }
    std::string failure() const override { return failing; }
};

// The link's cost as a test sets it; none while `failing` says why.
class FakeLinkCost : public LinkCost {
public:
    std::uint32_t cost = link_cost::unrestricted;
    std::string failing;
    int reads = 0;

    LinkCostReading read() override {
        ++reads;
        return failing.empty() ? LinkCostReading{cost, {}} : LinkCostReading{{}, failing};
    }
    Outcome watch(std::function<void()>) override { return Outcome::success(); }
};

// Logs each priority set on a process; refuses the I/O part while `io_refusal` is set.
class FakeProcessPriority : public ProcessPriority {
public:
    explicit FakeProcessPriority(CallLog& log) : log_(log) {}
    std::string io_refusal;

    PrioritySet set(const HeldProcess& process, NodePriority priority) override {
        log_.push_back("priority " + std::to_string(process.id()) +
                       (priority == NodePriority::low ? " low" : " normal"));
        PrioritySet set;
        if (!io_refusal.empty()) {
            set.io = Outcome::failure(io_refusal);
        }
        return set;
    }

private:
    CallLog& log_;
};

// What a test's event gate does with an exception it caught: the program
// would only report it, so the test fails and says what was thrown.
inline EventGate::FailureReport fail_the_test() {
    return [](std::string_view what) { ADD_FAILURE() << "an event failed: " << what; };
}

// Writes a record into the fake file system, where read_text finds it;
// refuses while `refusal` is set.
class FakeRecordWriter : public RecordWriter {
public:
    explicit FakeRecordWriter(FakeFileSystem& files) : files_(files) {}
    std::string refusal;
    Outcome replace_whole(std::string_view path, std::string_view bytes) override {
        if (!refusal.empty()) {
            return Outcome::failure(refusal);
        }
        files_.text_files[std::string(path)] = bytes;
        return Outcome::success();
    }
    Outcome remove(std::string_view path) override {
        if (!refusal.empty()) {
            return Outcome::failure(refusal);
        }
        files_.text_files.erase(std::string(path));
        return Outcome::success();
    }

private:
    FakeFileSystem& files_;
};

// The clipboard: what was put there last, or the answer the test gives.
class FakeClipboard : public Clipboard {
public:
    std::optional<std::string> text;
    ClipboardPut answer;  // copied, unless the test says busy or failed
    ClipboardPut put_text(std::string_view put) override {
        if (answer.result == ClipboardPut::Result::copied) {
            text = std::string(put);
        }
        return answer;
    }
};

// This copy's service as the window reaches it: installed or not, and the
// helper's runs, each logged with its arguments and answered as the test says.
class FakeNodeService : public NodeService {
public:
    explicit FakeNodeService(CallLog& log) : log_(log) {}
    std::optional<ServiceRun> installed;  // its state; none while not installed
    HelperRun next_run;                   // what the helper's next run gives
    std::function<void()> while_helper_runs;
    std::set<std::string, std::less<>> mapped_paths;

    std::string user_sid() override { return "S-1-5-21-1-2-3-1001"; }
    std::string user_name() override { return "ann"; }
    std::optional<ServiceRun> state(std::string_view) override { return installed; }
    HelperRun run_helper(std::string_view arguments) override {
        log_.push_back("helper " + std::string(arguments));
        if (while_helper_runs) {
            while_helper_runs();
        }
        return next_run;
    }
    bool on_mapped_drive(std::string_view path) override { return mapped_paths.contains(path); }
    std::string command_line = "\"C:\\Nodes\\ZV-KOB.exe\" --service";
    std::uint32_t exit_code = 0;
    std::vector<std::pair<std::string, std::string>> other_copies;
    std::optional<Facts> facts(std::string_view) override {
        return installed ? std::optional(Facts{*installed, exit_code, command_line}) : std::nullopt;
    }
    std::string program_path() override { return "C:\\Nodes\\ZV-KOB.exe"; }
    std::vector<std::pair<std::string, std::string>> other_copies_with_a_service(
        std::string_view) override {
        return other_copies;
    }
    // The service's answers: each request logged, answered by `answers`.
    std::function<std::optional<std::string>(std::string_view)> answers = [](std::string_view) {
        return std::optional<std::string>();
    };
    std::optional<std::string> ask(std::string_view, std::string_view request) override {
        log_.push_back("ask " + std::string(request.substr(0, request.size() - 1)));
        return answers(request);
    }
    std::string error_words(std::uint32_t code) override {
        return "error " + std::to_string(code);
    }

private:
    CallLog& log_;
};

// The main window's services, all fakes that write to one call log.
struct FakeServices {
    CallLog log;
    EventGate events{fail_the_test()};
    FakeStore store{log};
    FakeProbe probe{log};
    FakeRunner runner{log};
    FakePause pause{log};
    FakeWindows windows{log};
    FakeNotifier notifier{log};
    FakeClock clock;
    FakeHistory history;
    FakeFileSystem files;
    FakeStartup startup{log};
    FakeNodeControl nodes{log};
    FakeOtherCopies copies;
    FakeBackgroundWork background{events};
    FakeTaskbar taskbar;
    FakeNotificationArea tray_area;
    ScriptedHttp http;
    ScriptedListeners listeners;
    FakePowerRequest power{log};
    FakeFolderPicker folder_picker{log};
    FakeNodeWallets wallets;
    FakePowerSource power_source;
    FakeProcessPriority priority{log};
    FakeRecordWriter records{files};
    FakeLinkCost link_cost;
    FakeClipboard clipboard;
    FakeNodeService node_service{log};

    // The query counts what the process list holds, as the real one does.
    FakeServices() {
        probe.count_of = [this](std::string_view image) {
            std::size_t count = 0;
            for (const auto& [id, process] : nodes.processes) {
                count += process.image == image && !process.held->ended ? 1 : 0;
            }
            return std::optional(count);
        };
    }

    // The fakes, with another process probe.
    MainWindowServices services_with(ProcessProbe& another_probe) {
        return {events,    store,         another_probe, runner,       pause,    windows,
                notifier,  clock,         history,       files,        startup,  nodes,
                copies,    background,    taskbar,       tray_area,    http,     listeners,
                power,     folder_picker, wallets,       power_source, priority, records,
                link_cost, clipboard, node_service};
    }

    // The calls logged since the last call, then forgets them.
    CallLog take_log() {
        CallLog taken;
        taken.swap(log);
        return taken;
    }
};

// A main window wired to the fakes.
struct MainWindowFixture : FakeServices {
    MainWindow window{services_with(probe), "ZV-KOB"};
};

}  // namespace zvkob::testing
