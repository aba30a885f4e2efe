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

    // Taken only where the service answered as to a request it read: a line
    // it refused is written here, not lost.
    void record(std::string_view event) override {
        const std::string service = guarding_service_ ? guarding_service_() : std::string();
        const auto answer =
            service.empty()
                ? std::nullopt
                : service_.ask(service, request_text({ChannelRequest::Kind::note,
                                                      note_of(event), false}));
        if (!answer || !read_answer(*answer)) {
            own_.record(event);
        }
    }
    void flush() override { own_.flush(); }
    std::string path() override { return own_.path(); }
    std::optional<std::string> failure() override { return own_.failure(); }
    Outcome open() override { return own_.open(); }

private:
    // The event as one line that fits a request ("note " and its end aside),
    // cut between characters.
    static std::string note_of(std::string_view event) {
        std::string line = one_line(event);
        if (line.size() > longest_request - 6) {
            std::size_t cut = longest_request - 6;
            while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0U) == 0x80U) {
                --cut;  // not inside a UTF-8 character
            }
            line.resize(cut);
        }
        return line;
    }

    History& own_;
    NodeService& service_;
    std::function<std::string()> guarding_service_;
};

}  // namespace zvkob
