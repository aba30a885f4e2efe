#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "core/service/channel_messages.hpp"
#include "core/text_lines.hpp"
#include "platform/history.hpp"
#include "platform/node_service.hpp"

namespace zvkob {

// The history, written by one process at a time: while this copy's service
// guards the node, what the window records goes to the service, which
// writes it in its turn (so the lines of the two never cross); otherwise,
// and when the service does not take it, the window writes it itself.
class HistoryBesideTheService : public History {
public:
    HistoryBesideTheService(History& own, NodeService& service) : own_(own), service_(service) {}

    // Whom to hand the lines to, while someone guards: the service's name, or empty.
    void hand_to(std::function<std::string()> guarding_service) {
        guarding_service_ = std::move(guarding_service);
    }

    void record(std::string_view event) override {
        const std::string service = guarding_service_ ? guarding_service_() : std::string();
        const std::string line = one_line(event.substr(0, longest_request / 2));
        if (service.empty() ||
            !service_.ask(service, request_text({ChannelRequest::Kind::note, line, false}))) {
            own_.record(event);
        }
    }
    void flush() override { own_.flush(); }
    std::string path() override { return own_.path(); }
    std::optional<std::string> failure() override { return own_.failure(); }
    Outcome open() override { return own_.open(); }

private:
    History& own_;
    NodeService& service_;
    std::function<std::string()> guarding_service_;
};

}  // namespace zvkob
