#pragma once
// A main window whose status labels are set the only way they can be: by the
// process watcher asking the (fake) probe.
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "fakes.hpp"
#include "main_window/starting/launcher.hpp"
#include "main_window/load_unload.hpp"
#include "guardian/flows/process_watcher.hpp"
#include "main_window/event_order.hpp"

namespace zvkob::testing {

inline const std::string qt_image = "bitcoin-qt.exe";
inline const std::string daemon_image = "bitcoind.exe";
inline const std::string qt_command = "C:\\TARLOWEN\\ZV-KOB\\ZVKOB-QT.BAT";
inline const std::string daemon_command = "C:\\TARLOWEN\\ZV-KOB\\ZVKOB-D.BAT";

using Stored = std::map<std::string, std::string>;

// The settings of a copy that starts the DAEMON program, whose node keeps its
// data in D:\Chain, with these switched on as well.
inline Stored daemon_on_d_chain(std::initializer_list<const char*> ticked = {}) {
    Stored stored{{"USE_DAEMON_BAT_TICKBOX", "1"}, {"BLOCKCHAIN_FOLDER_TEXTBOX", "D:\\Chain"}};
    for (const char* key : ticked) {
        stored[key] = "1";
    }
    return stored;
}

struct WatchedWindow : MainWindowFixture {
    MainWindow& w = window;

    // Loads the window with both image names and both batch commands stored.
    explicit WatchedWindow(std::initializer_list<Stored::value_type> stored = {})
        : WatchedWindow(Stored(stored), Load{}) {}

protected:
    struct Load {};
    WatchedWindow(const Stored& stored, Load) {
        store.values = {{"QT_NAME_TEXTBOX", qt_image},
                        {"DAEMOND_NAME_TEXTBOX", daemon_image},
                        {"BAT_QT_RUN_COMMAND_TEXTBOX", qt_command},
                        {"BAT_DAEMON_RUN_COMMAND_TEXTBOX", daemon_command}};
        for (const auto& [key, value] : stored) {
            store.values[key] = value;
        }
        load_main_window(w);
        // The indicator's colour changes join the call log, in order with the services.
        w.countdown_display.set_observer([this] {
            const Colour now = *w.countdown_display.back_colour();
            if (now != indicator_) {
                indicator_ = now;
                log.push_back("indicator " + colour_name(now));
            }
        });
        take_log();
    }

public:
    // One watcher tick with these programs running; the tick's calls are not kept.
    // A program that starts running is a child of the interpreter ZV-KOB last
    // started (process 5000 for the DAEMON program, 5001 for QT); one that
    // stops ends with `node_exit_code`.
    void watch(bool qt_runs, bool daemon_runs) {
        set_running(qt_runs, daemon_runs);
        process_watcher_tick(w);
        take_log();
    }

    // LAUNCH starts the DAEMON program, and its node runs.
    void launch_daemon() {
        watch(false, false);
        launch_click(w);
        watch(false, true);
    }

    // What the probe and the process list show, without a tick.
    void set_running(bool qt_runs, bool daemon_runs) {
        probe.running.clear();
        for (const auto& [image, id, runs] : {std::tuple{qt_image, 5001UL, qt_runs},
                                              std::tuple{daemon_image, 5000UL, daemon_runs}}) {
            const unsigned long live = nodes.running(image);
            if (runs) {
                probe.running.push_back(image);
                if (live == 0) {
                    nodes.start(id, image, runner.last_started ? runner.last_started->id() : 1,
                                node_command_line, clock.now);
                }
            } else if (live != 0) {
                nodes.end(live, node_exit_code, clock.now);
            }
        }
    }

    unsigned long node_exit_code = 0;
    std::optional<std::string> node_command_line;  // what Windows shows of a node that starts

    static std::string colour_name(Colour colour) {
        const std::map<Colour, std::string> names{{colours::pink, "pink"},
                                                  {colours::cyan, "cyan"},
                                                  {colours::yellow, "yellow"},
                                                  {colours::green, "green"},
                                                  {colours::red, "red"}};
        const auto found = names.find(colour);
        return found == names.end() ? std::to_string(colour) : found->second;
    }

private:
    Colour indicator_ = colours::pink;
};

// A copy whose DAEMON node, on D:\Chain, was started by LAUNCH and runs.
struct LaunchedDaemon : WatchedWindow {
    explicit LaunchedDaemon(std::initializer_list<const char*> ticked = {})
        : WatchedWindow(daemon_on_d_chain(ticked), Load{}) {
        launch_daemon();
    }
};

}  // namespace zvkob::testing
