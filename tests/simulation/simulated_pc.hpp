#pragma once
// A PC with one copy of ZV-KOB and its node, all of it made of the unit
// tests' fakes: the node is a small model that runs, stops, answers its RPC
// and pauses its network as a node does; time passes in jumps to the next
// timer that is due; ZV-KOB can be closed and opened again with what it
// stored. The guardian under test is the engine with its host, the window,
// driven as Windows drives it: timers and clicks through the event gate, a
// message box that lets the reading ticks run beside it; the engine's own
// starts go through the window's countdown and LAUNCH step.
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "main_window/event_order.hpp"
#include "guardian/flows/metered_events.hpp"
#include "guardian/flows/neighbour_events.hpp"
#include "guardian/flows/stop_node.hpp"
#include "main_window/load_unload.hpp"
#include "main_window/window_menu.hpp"
#include "watched_window.hpp"

namespace zvkob::simulation {

using testing::CallLog;

// The node's RPC as the model lets it answer.
enum class RpcMood { answers, busy, gone, sets_unanswered };

// One run of the node: a process, its network, and who asked it to stop.
struct NodeRun {
    unsigned long id = 0;
    std::string image;
    std::int64_t started_ms = 0;
    bool alive = false;
    bool synced = true;
    bool network_active = true;
    bool paused_by_user = false;           // the user switched it off, and ZV-KOB could tell
    bool paused_by_zvkob = false;          // ZV-KOB switched it off, and nobody since
    std::optional<std::int64_t> stops_at;  // asked to stop: it ends cleanly then
    bool stop_is_users = false;            // the stop asked was the user's Stop Node
    int stops_asked_by_zvkob = 0;          // stops ZV-KOB asked of its own accord
};

struct SimulatedPc : testing::FakeServices {
    std::unique_ptr<MainWindow> window;  // none while ZV-KOB is closed

    NodeRun node;  // the latest run
    RpcMood rpc = RpcMood::answers;
    unsigned long next_id = 5000;
    std::map<const Timer*, std::int64_t> due_ms;  // each timer's next tick
    bool close_asked = false;
    std::function<void()> box_meanwhile_;  // what happens while the next box stays open // ZV-KOB
                                           // asked its window to close
    bool closing = false;  // ZV-KOB unloads its window

    // What the world hears of ZV-KOB's acts, as they happen.
    std::function<void(const std::string& act, bool in_box)> on_act;
    std::function<void(bool active)> on_network_set;  // setnetworkactive reached the node
    std::size_t log_read = 0;

    SimulatedPc() {
        http.respond = [this](const LoopbackPost& post) { return answer(post); };
        files.text_files["x"] = testing::node_cookie;
        files.growing_log = "2027-01-15T08:00:00Z Generated RPC authentication cookie x\n";
        store.values = {{"QT_NAME_TEXTBOX", testing::qt_image},
                        {"DAEMOND_NAME_TEXTBOX", testing::daemon_image},
                        {"BAT_QT_RUN_COMMAND_TEXTBOX", testing::qt_command},
                        {"BAT_DAEMON_RUN_COMMAND_TEXTBOX", testing::daemon_command},
                        {"USE_DAEMON_BAT_TICKBOX", "1"},
                        {"BLOCKCHAIN_FOLDER_TEXTBOX", "D:\\Chain"}};
        power_source.reading = {
            .line = PowerLine::mains, .battery_present = true, .charging = true, .percent = 80};
    }
    ~SimulatedPc() { close(); }
    SimulatedPc(const SimulatedPc&) = delete;
    SimulatedPc& operator=(const SimulatedPc&) = delete;

    // The next message box stays open while `meanwhile` runs, the timers
    // ticking beside it, as its modal loop lets them; what ZV-KOB did before
    // it opened is heard first, and a box shown beside it closes at once.
    bool box_open = false;
    void box_stays_open(std::function<void()> meanwhile) {
        box_meanwhile_ = std::move(meanwhile);
        notifier.while_open = [this] {
            if (box_open || !box_meanwhile_) {
                return;
            }
            const std::function<void()> open_meanwhile = std::exchange(box_meanwhile_, {});
            heard();
            box_open = true;
            open_meanwhile();
            box_open = false;
        };
    }

    void open() {
        if (window) {
            return;
        }
        window = std::make_unique<MainWindow>(services_with(probe), "ZV-KOB");
        events.run([this] { load_main_window(*window); });
        due_ms.clear();
        heard();
    }

    // ZV-KOB closes as the user closes it: what waits on the worker is dropped.
    void close() {
        if (!window) {
            return;
        }
        closing = true;
        background.drop_all();
        events.run([this] { static_cast<void>(unload_main_window(*window)); });
        heard();
        window.reset();
        close_asked = false;
        closing = false;
    }

    // A click, or anything else Windows delivers through the gate.
    void deliver(const std::function<void(MainWindow&)>& event) {
        if (window) {
            events.run([this, &event] { event(*window); });
            heard();
            if (close_asked) {
                close();
            }
        }
    }

    // Time passes: each timer ticks when due, the node ends when it is due to.
    void pass(std::int64_t ms) {
        const std::int64_t until = clock.now + ms;
        while (clock.now < until) {
            const std::int64_t step = window && window->countdown_timer.running() ? 1000 : 5000;
            clock.now = std::min(until, clock.now + step);
            node_time();
            tick_timers();
        }
    }

    void tick_timers() {
        if (!window) {
            return;
        }
        for (Timer* timer : window->timers()) {
            if (!timer->running() || timer == &window->always_on_top_timer) {
                due_ms.erase(timer);
                continue;
            }
            // First seen running a step after it was switched on: due now.
            auto [due, fresh] = due_ms.try_emplace(timer, clock.now);
            if (clock.now < due->second) {
                continue;
            }
            due->second = clock.now + timer->interval_ms();
            if (timer->effect() == TickEffect::reads_only) {
                events.run_beside([timer] { timer->tick(); });
            } else {
                events.run_when_free(timer, [this, timer] {
                    if (window && timer->running()) {
                        timer->tick();
                    }
                });
            }
            heard();
            // ZV-KOB's window goes once its message loop has it: not beside
            // an open box, whose caller still runs.
            if (close_asked && !box_open) {
                close();
                return;
            }
        }
    }

    // The acts ZV-KOB made since it was last heard, from the call log.
    void heard() {
        for (; log_read < log.size(); ++log_read) {
            const std::string act = log[log_read];
            if (on_act) {
                on_act(act, box_open);  // before the world answers it
            }
            if (act == "close main") {
                close_asked = true;
            } else if (act.starts_with("run ")) {
                started_by_batch(act);
            } else if (act.starts_with("ctrl+c ") || act.starts_with("close windows ")) {
                if (nodes.refusal.empty()) {
                    asked_to_stop();
                }
            }
        }
        if (log_read == log.size()) {  // all heard: years of calls need not be kept
            log.clear();
            log_read = 0;
        }
    }

    // The batch file starts its program, whose node runs at once.
    void started_by_batch(const std::string& act) {
        const std::string image =
            act.find("ZVKOB-QT") != std::string::npos ? testing::qt_image : testing::daemon_image;
        start_node(image, runner.last_started ? runner.last_started->id() : 1);
    }

    void start_node(const std::string& image, unsigned long parent) {
        node = NodeRun{.id = next_id++, .image = image, .started_ms = clock.now, .alive = true};
        nodes.start(node.id, image, parent, image + " -datadir=D:\\Chain", clock.now);
        probe.running = {image};
        listeners.elsewhere.process_id = node.id;
        files.growing_log += stamp(clock.now) + " Bitcoin Core version v25.0.0 (release build)\n" +
                             stamp(clock.now) + " Generated RPC authentication cookie x\n";
    }

    void asked_to_stop() {
        if (node.alive && !node.stops_at) {
            node.stops_at = clock.now + 3000 + static_cast<std::int64_t>(node.id % 5) * 15'000;
            node.stop_is_users = users_stop_pending;
            if (!users_stop_pending) {
                ++node.stops_asked_by_zvkob;
            }
        }
        users_stop_pending = false;
    }
    bool users_stop_pending = false;  // the user pressed Stop Node: the stop asked is theirs

    void node_time() {
        if (node.alive && node.stops_at && clock.now >= *node.stops_at) {
            end_node(true, 0);
        }
    }

    // The node ends: cleanly, with its shutdown lines, or not.
    void end_node(bool clean, unsigned long exit_code) {
        if (!node.alive) {
            return;
        }
        if (clean) {
            files.growing_log += stamp(clock.now - 2000) + " Shutdown: In progress...\n" +
                                 stamp(clock.now) + " Shutdown: done\n";
        }
        files.log_end = {files.growing_log, true, {}};
        nodes.end(node.id, exit_code, clock.now);
        node.alive = false;
        probe.running.clear();
    }

    // The node's RPC, as the model's mood lets it answer.
    HttpAnswer answer(const LoopbackPost& post) {
        const std::string body(post.body);
        // The wallet program runs without -server here: it has no RPC.
        if (!node.alive || rpc == RpcMood::gone || node.image == testing::qt_image) {
            return {HttpOutcome::failed, 0, "", "connection refused"};
        }
        if (rpc == RpcMood::busy) {
            return {HttpOutcome::answered, 503, "Work queue depth exceeded", ""};
        }
        const auto called = [&body](std::string_view method) {
            return body.find(R"("method":")" + std::string(method) + '"') != std::string::npos;
        };
        if (called("stop")) {
            if (on_act) {
                on_act("rpc stop", box_open);
            }
            asked_to_stop();
        } else if (called("setnetworkactive")) {
            const bool active = body.find("[true]") != std::string::npos;
            if (on_network_set) {
                on_network_set(active);
            }
            node.network_active = active;
            node.paused_by_zvkob = !active;
            node.paused_by_user = node.paused_by_user && !active;
            if (rpc == RpcMood::sets_unanswered) {
                return {HttpOutcome::no_answer, 0, "", ""};
            }
        }
        const std::string active = node.network_active ? "true" : "false";
        // A synced tip is minutes old, one catching up days old.
        const std::int64_t tip_s = (clock.now - (node.synced ? 5 * 60'000 : 3 * 86'400'000)) / 1000;
        const std::string chain =
            (node.synced
                 ? std::string(R"({"blocks":900,"headers":900,"initialblockdownload":false,)")
                 : std::string(R"({"blocks":5,"headers":900,"initialblockdownload":true,)")) +
            R"("verificationprogress":)" + (node.synced ? "1.0" : "0.01") + R"(,"time":)" +
            std::to_string(tip_s) + "}";
        return testing::node_answering(
            {{"getblockchaininfo", chain},
             {"getnetworkinfo", R"({"connections":3,"networkactive":)" + active + "}"},
             {"listwallets", "[]"},
             {"stop", R"("Bitcoin Core stopping")"},
             {"setnetworkactive", active}})(post);
    }

    static std::string stamp(std::int64_t ms) {
        const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
        std::tm utc{};
        gmtime_r(&seconds, &utc);
        char text[32];
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
        return text;
    }
};

}  // namespace zvkob::simulation
