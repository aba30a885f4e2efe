// Simulated years of a guarded node: seeded random sequences of what
// happens to a node and its PC, with rules checked after every step that
// must always hold wherever the guarding features meet. A failure prints its
// seed and the shortest sequence found that still shows it.
//
//   ZVKOB_SIM_SEED=<n>        one sequence, printed step by step
//   ZVKOB_SIM_SEQUENCES=<n>   how many sequences (default 1000)
//   ZVKOB_SIM_EVENTS=<n>      events in each (default 1000)
#include <chrono>
#include <cstdlib>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "core/power/metered_pause.hpp"
#include "core/power/node_stop_time.hpp"
#include "core/power/power_stop_rule.hpp"
#include "main_window/shown_state.hpp"
#include "simulated_pc.hpp"

namespace zvkob::simulation {
namespace {

constexpr std::int64_t second = 1000;
constexpr std::int64_t minute = 60 * second;

enum class Kind {
    wait,
    sleep,
    crash,
    users_clean_stop,
    stop_node,
    launch,
    start,
    stop_countdown,
    keep_running,
    battery_tick,
    metered_tick,
    awake_tick,
    progress_tick,
    choose_qt,
    choose_daemon,
    battery_low,
    battery_high,
    odd_estimate,
    mains,
    link_metered,
    link_free,
    cost_lost,
    cost_back,
    user_pauses,
    user_resumes,
    rpc_answers,
    rpc_busy,
    rpc_gone,
    rpc_sets_unanswered,
    rpc_late,
    rpc_on_time,
    log_late,
    log_on_time,
    stop_refused,
    stop_allowed,
    box,
    close,
    open,
    user_starts_by_hand,
    syncing,
    synced,
    record_unreadable,
    record_readable,
    auto_start_tick,
    auto_close_tick,
    node_hung,
    settings,
};
constexpr int kinds = static_cast<int>(Kind::settings) + 1;

const char* name_of(Kind kind) {
    static const char* const names[kinds] = {"wait",
                                             "sleep",
                                             "crash",
                                             "users_clean_stop",
                                             "stop_node",
                                             "launch",
                                             "start",
                                             "stop_countdown",
                                             "keep_running",
                                             "battery_tick",
                                             "metered_tick",
                                             "awake_tick",
                                             "progress_tick",
                                             "choose_qt",
                                             "choose_daemon",
                                             "battery_low",
                                             "battery_high",
                                             "odd_estimate",
                                             "mains",
                                             "link_metered",
                                             "link_free",
                                             "cost_lost",
                                             "cost_back",
                                             "user_pauses",
                                             "user_resumes",
                                             "rpc_answers",
                                             "rpc_busy",
                                             "rpc_gone",
                                             "rpc_sets_unanswered",
                                             "rpc_late",
                                             "rpc_on_time",
                                             "log_late",
                                             "log_on_time",
                                             "stop_refused",
                                             "stop_allowed",
                                             "box",
                                             "close",
                                             "open",
                                             "user_starts_by_hand",
                                             "syncing",
                                             "synced",
                                             "record_unreadable",
                                             "record_readable",
                                             "auto_start_tick",
                                             "auto_close_tick",
                                             "node_hung",
                                             "settings"};
    return names[static_cast<int>(kind)];
}

struct Event {
    Kind kind;
    std::int64_t ms;  // how long it lasts: a wait, a sleep, a box
};

// How often each happens: mostly time passing, with the rest in proportion;
// what stands in a feature's way goes sooner than it comes, so that the
// rules of what must happen within minutes are tried often.
int weight(Kind kind) {
    switch (kind) {
        case Kind::wait:
            return 60;
        case Kind::rpc_busy:
        case Kind::rpc_gone:
        case Kind::rpc_sets_unanswered:
        case Kind::rpc_late:
        case Kind::log_late:
        case Kind::stop_refused:
        case Kind::cost_lost:
        case Kind::node_hung:
            return 1;
        case Kind::rpc_answers:
        case Kind::rpc_on_time:
        case Kind::log_on_time:
        case Kind::stop_allowed:
        case Kind::cost_back:
            return 6;
        case Kind::settings:
            return 0;  // only the first, below
        case Kind::choose_qt:
        case Kind::choose_daemon:
        case Kind::record_unreadable:
        case Kind::record_readable:
            return 1;
        default:
            return 3;
    }
}

// The stored ticks the settings event sets, by bit.
constexpr const char* setting_keys[] = {
    "KEEP_NODE_RUNNING", "BATTERY_STOP",      "METERED_PAUSE",          "KEEP_AWAKE",
    "NOTIFICATION_AREA", "AUTOSTART_TICKBOX", "AUTOCLOSE_TIMER_TICKBOX"};
constexpr int setting_ticks = 7;

std::vector<Event> events_of(std::uint64_t seed, int count) {
    std::mt19937_64 random(seed);
    std::vector<int> weights;
    for (int kind = 0; kind < kinds; ++kind) {
        weights.push_back(weight(static_cast<Kind>(kind)));
    }
    std::discrete_distribution<int> pick(weights.begin(), weights.end());
    // The ticks the copy opens with: mostly on, Auto Start with Auto Close now and then.
    std::int64_t ticks = 0;
    for (int tick = 0; tick < setting_ticks; ++tick) {
        ticks |= std::bernoulli_distribution(tick < 5 ? 0.75 : 0.3)(random) ? 1 << tick : 0;
    }
    std::vector<Event> events{{Kind::settings, ticks * second}};
    for (int at = 1; at < count; ++at) {
        const auto kind = static_cast<Kind>(pick(random));
        std::int64_t ms = 0;
        if (kind == Kind::wait) {
            ms = std::uniform_int_distribution<std::int64_t>(1, 90)(random) * second;
        } else if (kind == Kind::sleep) {
            ms = std::uniform_int_distribution<std::int64_t>(2, 600)(random) * minute;
        } else if (kind == Kind::box) {
            ms = std::uniform_int_distribution<std::int64_t>(2, 120)(random) * second;
        }
        events.push_back({kind, ms});
    }
    return events;
}

// A rule broken: which, at which step, and what was seen.
struct Broken {
    std::size_t step = 0;
    std::string rule;
    std::string seen;
};

// One sequence played on a fresh PC, with the rules watching.
class Play {
public:
    explicit Play(bool tell_each_step) : tell_(tell_each_step) {
        pc_.on_act = [this](const std::string& act, bool in_box) { heard(act, in_box); };
        pc_.on_network_set = [this](bool active) { network_set(active); };
        pc_.store.values["KEEP_NODE_RUNNING"] = "1";
        pc_.store.values["BATTERY_STOP"] = "1";
        pc_.store.values["METERED_PAUSE"] = "1";
        pc_.store.values["KEEP_AWAKE"] = "1";
        pc_.store.values["NOTIFICATION_AREA"] = "1";
        open();
    }

    std::optional<Broken> run(const std::vector<Event>& events) {
        for (std::size_t at = 0; at < events.size() && !broken_; ++at) {
            step_ = at;
            if (tell_) {
                std::printf("%zu %s %lld\n", at, name_of(events[at].kind),
                            static_cast<long long>(events[at].ms));
            }
            const std::size_t told = pc_.history.events.size();
            auto_close_armed_ = w() && w()->auto_close_timer.enabled();
            guardian_started_ = false;
            happen(events[at]);
            check();
            for (std::size_t line = told; tell_ && line < pc_.history.events.size(); ++line) {
                std::printf("    history: %s\n", pc_.history.events[line].c_str());
            }
            if (tell_ && w()) {
                std::printf("    shown: %s\n", w()->daemon.status.label().tooltip().c_str());
            }
        }
        return broken_;
    }

private:
    MainWindow* w() { return pc_.window.get(); }

    void click(const std::function<void(MainWindow&)>& event) { pc_.deliver(event); }
    // A control takes a click only while it is enabled, as Windows does, and
    // a user's clicks are a second apart at least: the watcher has ticked
    // since the last one (LAUNCH is enabled until its next tick).
    void press(Control& (*control)(MainWindow&), const std::function<void()>& users_part = {}) {
        pc_.pass(second);
        pc_.deliver([control, &users_part](MainWindow& w) {
            if (control(w).enabled()) {
                if (users_part) {
                    users_part();
                }
                control(w).click();
            }
        });
    }

    // What each event does to the PC, its node, its user or ZV-KOB.
    void happen(const Event& event) {
        NodeRun& node = pc_.node;
        switch (event.kind) {
            case Kind::wait:
                pc_.pass(event.ms);
                break;
            case Kind::sleep:
                click([](MainWindow& w) { power_broadcast(w.engine, {PowerEvent::Kind::suspending}); });
                pc_.clock.advance(event.ms);
                click([](MainWindow& w) { power_broadcast(w.engine, {PowerEvent::Kind::resumed}); });
                click([](MainWindow& w) { pc_resumed(w); });
                disturbed();
                break;
            case Kind::crash:
                if (node.alive) {
                    node.stop_is_users = false;  // it crashed before its stop was done
                }
                pc_.end_node(false, 3);
                break;
            case Kind::users_clean_stop:
                if (node.alive && !node.stops_at) {
                    node.stops_at = pc_.clock.now + 4 * second;
                    node.stop_is_users = true;
                }
                break;
            case Kind::stop_node:
                // Its stop goes at once (Ctrl+C, or the RPC's lane that is never held here).
                pc_.pass(second);
                pc_.users_stop_pending = node.alive && w() != nullptr;
                click([](MainWindow& w) { stop_node_clicked(w); });
                // Pressed while the node stops already, the stop is the user's all the same.
                node.stop_is_users =
                    node.stop_is_users || (pc_.users_stop_pending && node.stops_at);
                pc_.users_stop_pending = false;
                break;
            case Kind::launch:
                press([](MainWindow& w) -> Control& { return w.launch_button; },
                      [this] {
                          users_start();
                          by_hand_ = true;
                      });
                by_hand_ = false;
                break;
            case Kind::start:
                press([](MainWindow& w) -> Control& { return w.start_stop_button; },
                      [this] {
                          if (w()->start_stop_button.text() != "STOP") {
                              users_start();
                              users_countdown_ = true;
                          }
                      });
                break;
            case Kind::stop_countdown:
                pc_.pass(second);
                if (w() && w()->start_stop_button.text() == "STOP") {
                    press([](MainWindow& w) -> Control& { return w.start_stop_button; });
                }
                break;
            case Kind::keep_running:
                press([](MainWindow& w) -> Control& { return w.keep_node_running; });
                break;
            case Kind::battery_tick:
                press([](MainWindow& w) -> Control& { return w.battery_stop; });
                break;
            case Kind::metered_tick:
                press([](MainWindow& w) -> Control& { return w.metered_pause; });
                break;
            case Kind::awake_tick:
                press([](MainWindow& w) -> Control& { return w.keep_awake; });
                break;
            case Kind::progress_tick:
                press([](MainWindow& w) -> Control& { return w.show_progress; });
                break;
            case Kind::choose_qt:
                pc_.pass(second);
                click([](MainWindow& w) {
                    if (!w.qt.chosen.ticked() && w.qt.chosen.enabled()) {
                        w.qt.chosen.click();
                    }
                });
                break;
            case Kind::choose_daemon:
                pc_.pass(second);
                click([](MainWindow& w) {
                    if (!w.daemon.chosen.ticked() && w.daemon.chosen.enabled()) {
                        w.daemon.chosen.click();
                    }
                });
                break;
            case Kind::battery_low:
                power({.line = PowerLine::battery, .battery_present = true, .percent = 10});
                break;
            case Kind::battery_high:
                power({.line = PowerLine::battery, .battery_present = true, .percent = 90});
                break;
            case Kind::odd_estimate:
                power({.line = PowerLine::battery,
                       .battery_present = true,
                       .percent = 90,
                       .seconds_left = 60});
                break;
            case Kind::mains:
                power({.line = PowerLine::mains,
                       .battery_present = true,
                       .charging = true,
                       .percent = 50});
                break;
            case Kind::link_metered:
                pc_.link_cost.cost = link_cost::fixed;
                break;
            case Kind::link_free:
                pc_.link_cost.cost = link_cost::unrestricted;
                break;
            case Kind::cost_lost:
                pc_.link_cost.failing = "The network list service is not running.";
                break;
            case Kind::cost_back:
                pc_.link_cost.failing.clear();
                break;
            case Kind::user_pauses:
                if (node.alive && node.network_active) {
                    node.network_active = false;
                    // A pause made while ZV-KOB's own call is on its way, or while
                    // ZV-KOB holds a pause it has not yet seen switched on, cannot be
                    // told from ZV-KOB's: the node says only that it is paused.
                    // So too one made while ZV-KOB is closed, remembering a pause of
                    // its own on this run whose resume may or may not have taken.
                    node.paused_by_user = !(w() && (w()->guardian.metered.calling() ||
                                                    w()->guardian.metered.paused())) &&
                                          !pause_remembered_for(node);
                }
                break;
            case Kind::user_resumes:
                if (node.alive && !node.network_active) {
                    node.network_active = true;
                    node.paused_by_user = false;
                    node.paused_by_zvkob = false;
                }
                break;
            case Kind::rpc_answers:
                pc_.rpc = RpcMood::answers;
                break;
            case Kind::rpc_busy:
                pc_.rpc = RpcMood::busy;
                break;
            case Kind::rpc_gone:
                pc_.rpc = RpcMood::gone;
                break;
            case Kind::rpc_sets_unanswered:
                pc_.rpc = RpcMood::sets_unanswered;
                break;
            case Kind::rpc_late:
                pc_.background.held_lanes.insert(Lane::node_rpc);
                break;
            case Kind::rpc_on_time:
                let_go(Lane::node_rpc);
                break;
            case Kind::log_late:
                pc_.background.held_lanes.insert(Lane::disk);
                break;
            case Kind::log_on_time:
                let_go(Lane::disk);
                break;
            case Kind::stop_refused:
                pc_.nodes.refusal = "Access is denied.";
                break;
            case Kind::stop_allowed:
                pc_.nodes.refusal.clear();
                break;
            case Kind::node_hung:
                // Its RPC busy and its console deaf at once: each way of asking it to stop fails.
                pc_.rpc = RpcMood::busy;
                pc_.nodes.refusal = "Access is denied.";
                break;
            case Kind::box:
                pc_.box_stays_open([this, ms = event.ms] {
                    pc_.pass(ms);
                    disturbed();
                    box_closed_ms_ = pc_.clock.now;
                });
                click([](MainWindow& w) { tell(w, "A message for the user."); });
                pc_.notifier.while_open = nullptr;
                break;
            case Kind::close:
                closing_while_calling_ = w() && w()->guardian.metered.calling();
                pc_.close();
                closing_while_calling_ = false;
                break;
            case Kind::open:
                if (!w()) {
                    open();
                }
                break;
            case Kind::user_starts_by_hand:
                if (!w() && !node.alive) {
                    pc_.start_node(testing::daemon_image, 1);
                    users_start();
                }
                break;
            case Kind::syncing:
                node.synced = false;
                break;
            case Kind::synced:
                node.synced = true;
                break;
            case Kind::record_unreadable:
                record_unreadable();
                break;
            case Kind::record_readable:
                record_readable();
                break;
            case Kind::auto_start_tick:
                press([](MainWindow& w) -> Control& { return w.auto_start; });
                break;
            case Kind::auto_close_tick:
                press([](MainWindow& w) -> Control& { return w.auto_close; });
                break;
            case Kind::settings:
                pc_.close();
                for (int tick = 0; tick < setting_ticks; ++tick) {
                    pc_.store.values[setting_keys[tick]] =
                        (event.ms / second) & (1 << tick) ? "1" : "0";
                }
                open();
                break;
        }
        if (pc_.background.held_lanes.empty() && pc_.rpc == RpcMood::answers &&
            pc_.nodes.refusal.empty()) {
            return;
        }
        disturbed();
    }

    void power(const PowerReading& reading) {
        const bool calls = calls_for_a_stop(reading);
        if (calls && !calls_for_a_stop(pc_.power_source.reading)) {
            calling_since_ms_ = pc_.clock.now;
        }
        pc_.power_source.reading = reading;
        if (reading.line == PowerLine::mains) {
            stopped_on_this_battery_ = false;
        }
        // Windows tells one change twice: the status and the setting.
        click([](MainWindow& w) { power_broadcast(w.engine, {PowerEvent::Kind::status_changed}); });
        click([line = reading.line](MainWindow& w) {
            power_broadcast(w.engine, {PowerEvent::Kind::line_changed, line});
        });
    }

    static bool calls_for_a_stop(const PowerReading& reading) {
        return reading.line == PowerLine::battery &&
               (reading.percent <= 10 || reading.seconds_left.value_or(3600) <= 60);
    }

    // A countdown that runs as ZV-KOB opens is Auto Start's, the user's.
    void open() {
        pc_.open();
        opened_ms_ = pc_.clock.now;
        users_countdown_ = w()->countdown_timer.enabled();
    }

    void users_start() {
        users_stop_ = false;
        mains_restarts_owed_ = 0;
    }

    void let_go(Lane lane) {
        pc_.background.held_lanes.erase(lane);
        if (pc_.window) {
            pc_.events.run([this, lane] {
                while (pc_.background.release(lane)) {
                }
            });
            pc_.heard();
        }
    }

    bool pause_remembered_for(const NodeRun& node) {
        const auto found = pc_.files.text_files.find(network_pause_record_path(pc_.history.path()));
        return !w() && found != pc_.files.text_files.end() &&
               found->second ==
                   std::to_string(node.id) + " " + std::to_string(node.started_ms) + "\n";
    }

    std::string record_path() { return node_stop_record_path(pc_.history.path()); }

    // Held by another program while ZV-KOB opens: what it then knows of the
    // node's stops is less than the record holds.
    void record_unreadable() {
        const auto found = pc_.files.text_files.find(record_path());
        if (found != pc_.files.text_files.end() && !record_shadow_ && !w()) {
            record_shadow_ = found->second;
            pc_.files.text_files.erase(found);
            pc_.files.unreadable[record_path()] = "The process cannot access the file.";
        }
    }
    void record_readable() {
        if (record_shadow_) {
            pc_.files.unreadable.erase(record_path());
            pc_.files.text_files[record_path()] = *std::exchange(record_shadow_, std::nullopt);
        }
    }

    // Something stood in a feature's way just now: a liveness rule counts from here.
    void disturbed() { disturbed_ms_ = pc_.clock.now; }

    void break_rule(const std::string& rule, const std::string& seen) {
        if (!broken_) {
            broken_ = Broken{step_, rule, seen};
        }
    }

    // ZV-KOB's acts, checked as they happen.
    void heard(const std::string& act, bool in_box) {
        if (tell_ && !act.starts_with("probe ") && !act.starts_with("get ")) {
            std::printf("    %s%s\n", in_box ? "[box] " : "", act.c_str());
        }
        const bool acts = act.starts_with("run ") || act.starts_with("ctrl+c ") ||
                          act.starts_with("close windows ") || act.starts_with("hold awake");
        if (in_box && (acts || act == "rpc stop")) {
            break_rule("nothing acts beside an open message box", act);
        }
        if (act.starts_with("run ")) {
            started(act);
        }
        if (act.starts_with("ctrl+c ") || act.starts_with("close windows ") || act == "rpc stop") {
            stop_asked(act);
        }
    }

    void started(const std::string& act) {
        // Heard before the world answers: the node is the run before.
        const StartRequest requester = countdown_for_;
        if (pc_.node.alive) {
            break_rule("no start while a node runs or stops", act);
        }
        // Whose start it is the world knows, not the program: a countdown
        // the user armed (START, Auto Start) or not.
        const bool by_guardian = starting_by_countdown_ && !by_hand_ && !users_countdown_;
        if (users_stop_ && by_guardian) {
            break_rule("no user's stop is undone", act);
        }
        if (by_guardian && requester == StartRequest::mains_restart) {
            if (pc_.power_source.reading.line != PowerLine::mains) {
                break_rule("the mains restart starts only on mains", act);
            }
            if (mains_restarts_owed_ == 0) {
                break_rule("a node stopped for the battery is started again only once", act);
            }
            if (act.find(stopped_image_ == testing::qt_image ? "ZVKOB-QT" : "ZVKOB-D") ==
                std::string::npos) {
                break_rule("the mains restart starts the program it stopped", act);
            }
            mains_restarts_owed_ = std::max(0, mains_restarts_owed_ - 1);
        }
        guardian_started_ = guardian_started_ || by_guardian;
        if (!by_guardian) {
            users_start();  // LAUNCH, START or Auto Start: the node is the user's again
        }
    }

    void stop_asked(const std::string& act) {
        if (!pc_.users_stop_pending && pc_.node.alive) {
            // Asks held back by a box all go as it closes, each for a reading of its own.
            if (pc_.node.id == zvkob_asked_id_ && pc_.clock.now - zvkob_asked_ms_ < 10 * second &&
                act != "rpc stop" && !asked_over_rpc_ && pc_.clock.now != box_closed_ms_) {
                break_rule("nothing is sent twice", act + " twice at one moment");
            }
            asked_over_rpc_ = act == "rpc stop";
            zvkob_asked_id_ = pc_.node.id;
            zvkob_asked_ms_ = pc_.clock.now;
        }
        const bool refused = act != "rpc stop" && !pc_.nodes.refusal.empty();
        if (!refused && !pc_.users_stop_pending) {
            // Even of a node that ended or began stopping a moment before,
            // unseen: ZV-KOB takes its end for the stop it asked, and starts
            // it again on mains, once.
            stopped_on_this_battery_ = true;
            if (!pc_.node.alive && !pc_.node.stop_is_users) {
                mains_restarts_owed_ = 1;
                stopped_image_ = pc_.node.image;
            }
        }
        if (refused || pc_.users_stop_pending || !pc_.node.alive) {
            return;
        }
        if (pc_.node.stops_at) {
            // A copy opened since cannot know of the ask before.
            if (!pc_.node.stop_is_users && asked_while_open_ms_ == opened_ms_) {
                break_rule("nothing is sent twice", act + " of a node stopping as ZV-KOB asked");
            }
            // Stopping by its own client a moment before, unseen: ZV-KOB's
            // ask answered, the stop is as much ZV-KOB's as the user's.
            if (pc_.node.stop_is_users) {
                pc_.node.stop_is_users = false;
                mains_restarts_owed_ = 1;
                stopped_image_ = pc_.node.image;
            }
            return;
        }
        battery_stop_asked();
    }

    void battery_stop_asked() {
        asked_while_open_ms_ = opened_ms_;
        // Two readings count as two when they are this far apart at least.
        if (pc_.clock.now - calling_since_ms_ < battery_readings_apart_ms ||
            !calls_for_a_stop(pc_.power_source.reading)) {
            break_rule("the battery stop asks only after two readings in a row",
                       "asked " + std::to_string((pc_.clock.now - calling_since_ms_) / 1000) +
                           " s after the battery called for it");
        }
        if (pc_.node.stops_asked_by_zvkob > 0) {
            break_rule("nothing is sent twice", "a second stop of one run");
        }
        mains_restarts_owed_ = 1;
        stopped_image_ = pc_.node.image;
        stopped_on_this_battery_ = true;
    }

    void network_set(bool active) {
        const NodeRun& node = pc_.node;
        if (pc_.box_open) {
            break_rule("nothing acts beside an open message box", "setnetworkactive");
        }
        // Left alone: closing while a pause call is on its way resumes, not
        // knowing whether the call went; a user's pause just before it is undone.
        if (active && node.paused_by_user && !closing_while_calling_) {
            break_rule("no user's pause is undone", "setnetworkactive true");
        }
        if (active == node.network_active && pc_.window && !pc_.closing) {
            break_rule("nothing is sent twice", std::string("setnetworkactive ") +
                                                    (active ? "true" : "false") +
                                                    " to a node already so");
        }
    }

    // The rules on the state after each step.
    void check() {
        NodeRun& node = pc_.node;
        if (!node.alive && node.stop_is_users) {
            users_stop_ = true;
            mains_restarts_owed_ = 0;
        }
        MainWindow* window = w();
        if (window == nullptr) {
            check_closed();
            return;
        }
        starting_by_countdown_ = window->countdown_timer.enabled();
        users_countdown_ = users_countdown_ && starting_by_countdown_;
        countdown_for_ = window->countdown.for_whom();
        if (guardian_started_ && !auto_close_armed_ && window->auto_close_timer.enabled()) {
            break_rule("the guardian's own start leaves Auto Close alone", "auto-close armed");
        }
        if (record_shadow_ && pc_.files.text_files.contains(record_path())) {
            break_rule("a stop record that cannot be read is never written over", record_path());
        }
        check_pause_resumed(*window);
        check_awake(*window);
        check_battery_stop(*window);
    }

    void check_closed() {
        if (pc_.node.alive && pc_.node.paused_by_zvkob && !closed_checked_) {
            const std::string pause_record = network_pause_record_path(pc_.history.path());
            if (!pc_.files.text_files.contains(pause_record)) {
                break_rule("ZV-KOB's own pause is always resumed or remembered",
                           "closed with the network paused and nothing remembered");
            }
        }
        closed_checked_ = true;
    }

    // A pause of ZV-KOB's own that nothing holds any more is resumed within minutes.
    void check_pause_resumed(MainWindow& window) {
        closed_checked_ = false;
        const NodeRun& node = pc_.node;
        const bool wanted = window.metered_pause.ticked() && window.show_progress.ticked() &&
                            pc_.link_cost.cost != link_cost::unrestricted &&
                            pc_.link_cost.failing.empty();
        if (!node.alive || !node.paused_by_zvkob || wanted) {
            unwanted_pause_since_ms_.reset();
            return;
        }
        if (!unwanted_pause_since_ms_) {
            unwanted_pause_since_ms_ = pc_.clock.now;
        }
        const std::int64_t since = std::max({*unwanted_pause_since_ms_, disturbed_ms_, opened_ms_});
        if (pc_.clock.now - since > 4 * minute) {
            break_rule("ZV-KOB's own pause is always resumed or remembered",
                       "paused for " + std::to_string((pc_.clock.now - since) / minute) +
                           " min after nothing held it");
        }
    }

    // The PC is never held awake for a node that cannot progress.
    void check_awake(MainWindow& window) {
        const NodeRun& node = pc_.node;
        // A paused network is seen only over the node's RPC, while its progress is followed.
        const bool cannot_progress =
            !node.alive || (!node.network_active && node.image == testing::daemon_image &&
                            window.show_progress.ticked());
        if (!pc_.power.holding() || !cannot_progress) {
            no_progress_since_ms_.reset();
            return;
        }
        if (!no_progress_since_ms_) {
            no_progress_since_ms_ = pc_.clock.now;
        }
        if (pc_.clock.now - std::max(*no_progress_since_ms_, disturbed_ms_) > 3 * minute) {
            break_rule("the PC is not held awake by a node that cannot progress",
                       node.alive ? "its network is paused" : "no node runs");
        }
    }

    // A battery that calls for a stop gets one within minutes, tried again after a failure.
    void check_battery_stop(MainWindow& window) {
        const NodeRun& node = pc_.node;
        const std::int64_t ticked_ms = battery_ticked_ms(window);
        // Once per battery: a node the user starts again on it is theirs.
        if (!window.battery_stop.ticked() || !node.alive || node.stops_at ||
            stopped_on_this_battery_ || !calls_for_a_stop(pc_.power_source.reading)) {
            return;
        }
        const std::int64_t since =
            std::max({calling_since_ms_, disturbed_ms_, opened_ms_, node.started_ms, ticked_ms});
        if (pc_.clock.now - since > 3 * minute) {
            break_rule(
                "a battery that calls for it stops the node",
                "still running " + std::to_string((pc_.clock.now - since) / minute) + " min after");
        }
    }

    std::int64_t battery_ticked_ms(MainWindow& window) {
        if (window.battery_stop.ticked() != battery_was_ticked_) {
            battery_was_ticked_ = window.battery_stop.ticked();
            battery_ticked_at_ = pc_.clock.now;
        }
        return battery_ticked_at_;
    }

    bool tell_;
    SimulatedPc pc_;
    std::size_t step_ = 0;
    std::optional<Broken> broken_;
    std::int64_t opened_ms_ = 0;
    std::int64_t disturbed_ms_ = 0;
    std::int64_t calling_since_ms_ = 0;
    std::optional<std::int64_t> unwanted_pause_since_ms_;
    std::optional<std::int64_t> no_progress_since_ms_;
    std::optional<std::string> record_shadow_;
    bool battery_was_ticked_ = false;
    std::int64_t battery_ticked_at_ = 0;
    bool users_stop_ = false;
    bool starting_by_countdown_ = false;
    bool users_countdown_ = false;  // the countdown that runs is one the user armed
    bool guardian_started_ = false;
    bool auto_close_armed_ = false;
    bool by_hand_ = false;  // LAUNCH is being pressed
    // ZV-KOB's last ask of a stop: a Ctrl+C after its RPC failed is the same ask.
    unsigned long zvkob_asked_id_ = 0;
    std::int64_t zvkob_asked_ms_ = 0;
    bool asked_over_rpc_ = false;
    std::int64_t box_closed_ms_ = 0;
    std::int64_t asked_while_open_ms_ = -1;  // when the copy that asked the stop opened
    bool closing_while_calling_ = false;
    bool closed_checked_ = false;
    StartRequest countdown_for_ = StartRequest::countdown;
    int mains_restarts_owed_ = 0;
    bool stopped_on_this_battery_ = false;
    std::string stopped_image_;
};

std::optional<Broken> play(const std::vector<Event>& events, bool tell = false) {
    Play game(tell);
    return game.run(events);
}

// The shortest sequence found that breaks the same rule: cut after the
// step that broke it, then leave out pieces while it still breaks.
std::vector<Event> shortest(std::vector<Event> events, const Broken& broken) {
    events.resize(broken.step + 1);
    for (std::size_t piece = events.size() / 2; piece >= 1; piece /= 2) {
        for (std::size_t from = 0; from + piece <= events.size();) {
            std::vector<Event> fewer(events.begin(), events.begin() + from);
            fewer.insert(fewer.end(), events.begin() + from + piece, events.end());
            const auto still = play(fewer);
            if (still && still->rule == broken.rule) {
                events = std::move(fewer);
                events.resize(still->step + 1);
            } else {
                from += piece;
            }
        }
    }
    return events;
}

// The events as ZVKOB_SIM_REPLAY takes them: "wait:41,launch,..." (seconds).
std::string told(const std::vector<Event>& events) {
    std::ostringstream text;
    for (const Event& event : events) {
        text << (&event == events.data() ? "" : ",") << name_of(event.kind);
        if (event.ms != 0) {
            text << ":" << event.ms / 1000;
        }
    }
    return text.str();
}

std::vector<Event> replayed(std::string_view text) {
    std::vector<Event> events;
    while (!text.empty()) {
        const std::string_view item = text.substr(0, text.find(','));
        text.remove_prefix(std::min(text.size(), item.size() + 1));
        const std::string_view name = item.substr(0, item.find(':'));
        for (int kind = 0; kind < kinds; ++kind) {
            if (name == name_of(static_cast<Kind>(kind))) {
                const auto colon = item.find(':');
                const std::int64_t seconds =
                    colon == std::string_view::npos
                        ? 0
                        : std::strtoll(std::string(item.substr(colon + 1)).c_str(), nullptr, 10);
                events.push_back({static_cast<Kind>(kind), seconds * second});
            }
        }
    }
    return events;
}

std::uint64_t setting(const char* name, std::uint64_t otherwise) {
    const char* text = std::getenv(name);
    return text == nullptr ? otherwise : std::strtoull(text, nullptr, 10);
}

TEST(GuardianSimulation, NoRuleBreaksInSimulatedYearsOfEvents) {
    const auto events_each = static_cast<int>(setting("ZVKOB_SIM_EVENTS", 1000));
    if (const char* replay = std::getenv("ZVKOB_SIM_REPLAY")) {
        const auto broken = play(replayed(replay), true);
        EXPECT_FALSE(broken) << broken->rule << " at step " << broken->step << ": " << broken->seen;
        return;
    }
    if (const char* seed = std::getenv("ZVKOB_SIM_SEED")) {
        const auto broken = play(events_of(std::strtoull(seed, nullptr, 10), events_each), true);
        EXPECT_FALSE(broken) << broken->rule << " at step " << broken->step << ": " << broken->seen;
        return;
    }
    const std::uint64_t sequences = setting("ZVKOB_SIM_SEQUENCES", 1000);
    const auto began = std::chrono::steady_clock::now();
    for (std::uint64_t seed = 1; seed <= sequences; ++seed) {
        const std::vector<Event> events = events_of(seed, events_each);
        if (const auto broken = play(events)) {
            const std::vector<Event> shown = shortest(events, *broken);
            FAIL() << "seed " << seed << ": " << broken->rule << " (" << broken->seen
                   << ") at step " << broken->step << "; the shortest sequence found, "
                   << shown.size() << " events (ZVKOB_SIM_REPLAY takes them):\n"
                   << told(shown);
        }
    }
    const auto took = std::chrono::duration<double>(std::chrono::steady_clock::now() - began);
    std::printf("%llu sequences of %d events in %.1f s\n",
                static_cast<unsigned long long>(sequences), events_each, took.count());
}

}  // namespace
}  // namespace zvkob::simulation
