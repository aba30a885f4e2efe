#include "main_window/before_sign_in.hpp"

#include "core/folder_key.hpp"
#include "core/power/node_stop_time.hpp"
#include "core/service/program_arguments.hpp"
#include "core/service/service_rules.hpp"
#include "core/service/setup_result.hpp"
#include "main_window/beside_the_service.hpp"
#include "main_window/main_window_layout.hpp"
#include "main_window/shown_state.hpp"

namespace zvkob {
namespace {

constexpr std::string_view command_name = "Start the Node Before Sign-In";

// What keeps a service from starting the node as the window would; empty
// when nothing does.
std::string install_refusal(MainWindow& w) {
    NodeService& service = w.services.node_service;
    if (w.daemon.image.empty() || w.daemon.batch_path.empty()) {
        return "No DAEMON program is saved yet. Fill in its folder and file name in the settings "
               "window, press Save To Registry and Save .BAT Files, then tick the command again.";
    }
    for (const auto& [copy, folder] : service.other_copies_with_a_service(w.instance_name)) {
        if (!w.data_folder.empty() && folder_key(folder) == folder_key(w.data_folder)) {
            return "The copy " + copy + " of ZV-KOB has a service of its own that starts a node on "
                   "this data folder, " + w.data_folder + ". Two nodes cannot share one folder: "
                   "clear the command in that copy first, or give this one another folder.";
        }
    }
    for (const std::string* path : {&w.daemon.batch_path, &w.data_folder}) {
        if (!path->empty() && service.on_mapped_drive(*path)) {
            return *path + " is on a drive letter mapped to a network share. A service does not "
                           "see your mapped drives: use the share's own path (\\\\server\\share\\...) "
                           "in the settings, then tick the command again.";
        }
    }
    return {};
}

// What a stopped service's exit code tells, and what to do.
std::string why_it_does_not_run(MainWindow& w, std::uint32_t code) {
    switch (code) {
        case 1069:  // ERROR_SERVICE_LOGON_FAILED
            return "Windows could not log the service on as your account: its password has "
                   "probably changed. Clear the command and tick it again with the new password.";
        case 1385:  // ERROR_LOGON_TYPE_NOT_GRANTED
            return "A policy of this PC no longer lets your account log on as a service. Ask "
                   "whoever manages the PC, or clear the command.";
        case 0:
        case 1077:  // ERROR_SERVICE_NEVER_STARTED
            return "It was stopped, or has not started since it was installed. Start it in the "
                   "Services console, or clear the command and tick it again.";
        default:
            return "Windows said: " + w.services.node_service.error_words(code);
    }
}

void tell_the_run(MainWindow& w, const HelperRun& run, bool installing) {
    const std::string what = installing ? "install" : "remove";
    switch (run.result) {
        case HelperRun::Result::consent_refused:
            w.services.history.record(std::string(command_name) +
                                      ": no administrator's consent was given; nothing changed.");
            tell(w, "Windows' consent was not given, so nothing changed. Installing or removing "
                    "a service needs an administrator's consent.");
            return;
        case HelperRun::Result::failed:
            w.services.history.record(std::string(command_name) + ": the helper could not " +
                                      what + " the service: " + run.failure);
            tell(w, "ZV-KOB could not start its helper to " + what + " the service.\n\n" +
                        run.failure);
            return;
        case HelperRun::Result::ended:
            break;
    }
    const SetupResult result = setup_result_of(run.exit_code);
    const std::string words = setup_result_words(
        result, installing,
        result.windows_error == 0 ? std::string()
                                  : w.services.node_service.error_words(result.windows_error));
    w.services.history.record(std::string(command_name) + ": " + words);
    tell(w, words);
}

}  // namespace

std::int64_t shutdown_wait_for(MainWindow& w) {
    const std::string record_path = node_stop_record_path(w.services.history.path());
    const auto record = w.services.files.read_text(record_path, TextCoding::utf8);
    const NodeStopTimes stops = NodeStopTimes::from_record(record.value_or(std::string()));
    return shutdown_wait_ms(stops.expected(false));
}

void tell_what_became_of_the_service(MainWindow& w) {
    NodeService& service = w.services.node_service;
    const auto facts = service.facts(w.service_name);
    if (!facts) {
        return;
    }
    if (facts->command_line != service_command_line(service.program_path())) {
        w.services.history.record("The service " + w.service_name + " runs " +
                                  facts->command_line + ", not this program file.");
        const LookWhileWaiting waiting(w);
        if (w.services.notifier.ask(
                "The service " + w.service_name + " that starts the node before sign-in "
                "runs " + facts->command_line + ", not this program file (it was moved or "
                "renamed), so Windows cannot start it.\n\nRepair the service now (Windows asks "
                "for an administrator's consent)?")) {
            tell_the_run(w,
                         service.run_helper(helper_arguments(ProgramRole::repair_service,
                                                             service.user_sid(),
                                                             shutdown_wait_for(w))),
                         true);
        }
        return;
    }
    if (facts->run == ServiceRun::stopped) {
        const std::string why = why_it_does_not_run(w, facts->exit_code);
        w.services.history.record("The service " + w.service_name +
                                  " does not run: " + why);
        tell(w, "The service " + w.service_name +
                    " that starts the node before sign-in does not run, so this window guards "
                    "the node meanwhile.\n\n" + why);
    }
}

void before_sign_in_shown(MainWindow& w) {
    const bool installed = w.services.node_service.state(w.service_name).has_value();
    w.before_sign_in.set_ticked(installed);
    // A service of QT's can still be removed; none is installed for it.
    const bool qt_only = w.qt.chosen.ticked() && !installed;
    w.before_sign_in.set_enabled(!qt_only);
    const std::string caption(main_layout::before_sign_in.caption);
    w.before_sign_in.set_text(qt_only ? caption + " (DAEMON only: QT needs a desktop)" : caption);
}

void before_sign_in_clicked(MainWindow& w) {
    NodeService& service = w.services.node_service;
    const bool installing = !service.state(w.service_name).has_value();
    if (installing) {
        if (const std::string refusal = install_refusal(w); !refusal.empty()) {
            tell(w, "ZV-KOB did not set up the service that starts the node before sign-in.\n\n" +
                        refusal);
            return;
        }
    }
    const std::int64_t wait_ms = installing ? shutdown_wait_for(w) : 0;
    const std::string arguments = helper_arguments(
        installing ? ProgramRole::install_service : ProgramRole::remove_service, service.user_sid(),
        wait_ms);
    w.services.history.record(
        std::string(command_name) + ": ZV-KOB asks for an administrator's consent to " +
        (installing ? "install" : "remove") + " the service " + w.service_name +
        (installing ? " (Windows is given " + std::to_string(wait_ms / 60'000) +
                          " minutes at shut-down for the node's stop)."
                    : "."));
    // The service's node, learnt before the service hands it back and goes.
    const unsigned long node_id = w.service_view ? w.service_view->node_id : 0;
    HelperRun run;
    {
        const LookWhileWaiting waiting(w);
        run = service.run_helper(arguments);
    }
    tell_the_run(w, run, installing);
    before_sign_in_shown(w);
    if (!installing && !w.before_sign_in.ticked()) {
        take_the_node_back(w, node_id);
    }
}

}  // namespace zvkob
