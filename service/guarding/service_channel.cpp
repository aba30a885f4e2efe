#include "service/guarding/service_channel.hpp"

namespace zvkob {

std::string answer_request(ServiceGuard& guard, History& history, GivenFolderPicker& folders,
                           std::string_view text) {
    const auto request = read_request(text);
    if (!request) {
        history.record("The service refused a malformed request on its channel (" +
                       std::to_string(text.size()) + " bytes); nothing was done.");
        return std::string(refused_answer);
    }
    std::string said;
    using Kind = ChannelRequest::Kind;
    switch (request->kind) {
        case Kind::view:
            break;
        case Kind::stop_node:
            said = guard.stop_node_asked();
            break;
        case Kind::tick:
            guard.tick_changed();
            history.record("The service follows " + request->key + " as the window changed it.");
            break;
        case Kind::settings_saved:
            guard.settings_saved();
            history.record("The service reads the settings the window saved.");
            break;
        case Kind::note:
            history.record(request->key);
            return answer_text(guard.view());
        case Kind::back_up_wallets:
            folders.give(request->key);
            guard.back_up_wallets();
            said = "The service backs the wallets up to " + request->key +
                   "; the history tells how each went.";
            break;
        case Kind::hand_back: {
            ServiceView view = guard.view();
            guard.hand_back_asked();
            return answer_text(view);
        }
    }
    ServiceView view = guard.view();
    view.said = said;
    return answer_text(view);
}

}  // namespace zvkob
