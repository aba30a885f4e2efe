#include "main_window/beside_the_service.hpp"

#include "core/service/channel_messages.hpp"
#include "main_window/shown_state.hpp"

namespace zvkob {
namespace {

std::optional<ServiceView> ask(MainWindow& w, const ChannelRequest& request) {
    const auto answer = w.services.node_service.ask(w.service_name, request_text(request));
    return answer ? read_answer(*answer) : std::nullopt;
}

}  // namespace

bool service_guards(const MainWindow& w) {
    return w.service_view.has_value();
}

std::string guarding_service(const MainWindow& w) {
    return service_guards(w) ? w.service_name : std::string();
}

// Whoever holds the node guards it: a window that started or adopted the
// node before the service was installed goes on guarding it (the service
// starts nothing while it runs), until the node stops or the next boot.
bool window_holds_a_node(const MainWindow& w) {
    return w.daemon.node.life.runs() || w.qt.node.life.runs();
}

bool follow_the_service(MainWindow& w) {
    if (!w.before_sign_in.ticked() || window_holds_a_node(w)) {
        w.service_view.reset();
        return false;
    }
    const bool guarded_before = service_guards(w);
    w.service_view = ask(w, {ChannelRequest::Kind::view, {}, false});
    if (service_guards(w) != guarded_before) {
        w.services.history.record(service_guards(w)
                                      ? "The window steps back: the service " +
                                            w.service_name + " guards the node."
                                      : "The service does not answer: the window guards the "
                                        "node again.");
    }
    if (!service_guards(w)) {
        return false;
    }
    w.daemon.guarded.seen.state =
        w.service_view->node_runs ? RunningState::running : RunningState::stopped;
    w.daemon.status.show(w.service_view->node_runs);
    w.launch_button.set_enabled(!w.service_view->node_runs && !w.qt.status.running());
    w.back_up_wallets.set_enabled(w.service_view->wallets);
    return true;
}

void stop_node_by_the_service(MainWindow& w) {
    const auto answer = ask(w, {ChannelRequest::Kind::stop_node, {}, false});
    const std::string said = answer ? answer->said : "The service did not answer.";
    w.services.history.record("Stop Node, asked of the service: " + said);
    tell(w, said);
}

void back_up_wallets_by_the_service(MainWindow& w) {
    const FolderChoice choice = [&w] {
        const LookWhileWaiting waiting(w);
        return w.services.folder_picker.pick("Back Up Wallets", w.backup_folder);
    }();
    if (!choice.folder) {
        if (!choice.failure.empty()) {
            tell(w, "ZV-KOB could not ask for a folder to back the wallets up to.\n\n" +
                        choice.failure);
        }
        return;
    }
    const auto answer = ask(w, {ChannelRequest::Kind::back_up_wallets, *choice.folder, false});
    tell(w, answer ? answer->said : std::string("The service did not answer: no wallet was backed up."));
}

void tell_the_service(MainWindow& w, const StoredSetting& setting) {
    if (service_guards(w) && tick_the_service_follows(setting.key)) {
        ask(w, {ChannelRequest::Kind::tick, std::string(setting.key), true});
    }
}

void tell_the_service_settings_saved(MainWindow& w) {
    if (service_guards(w)) {
        ask(w, {ChannelRequest::Kind::settings_saved, {}, false});
    }
}

void take_the_node_back(MainWindow& w, unsigned long node_id) {
    w.service_view.reset();
    if (node_id == 0) {
        return;
    }
    w.daemon.node.handed_back(node_id);
    w.services.history.record("The service handed the node (process " + std::to_string(node_id) +
                              ") back: this window guards it from now on.");
}

}  // namespace zvkob
