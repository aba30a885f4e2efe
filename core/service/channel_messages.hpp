#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zvkob {

// What the window and the service say to each other over the service's
// channel: one short request, one bounded answer, as lines of text. Anything
// else is malformed, refused and never acted on.
inline constexpr std::size_t longest_request = 1024;
inline constexpr std::size_t longest_answer = 8192;

struct ChannelRequest {
    enum class Kind {
        view,            // "view": the node as the service sees it
        stop_node,       // "stop-node": Stop Node, asked in the window
        tick,            // "tick <KEY> <0|1>": a guarding tick the window changed
        settings_saved,  // "settings-saved": Save To Registry in the window
        hand_back,       // "hand-back": the service ends and leaves the node to the window
        note,            // "note <line>": a line for the history, which the service alone writes
        back_up_wallets,  // "back-up-wallets <folder>": the folder chosen in the window
    } kind = Kind::view;
    std::string key;  // a tick's stored key, the note's line, or the folder
    bool on = false;
};

// The ticks the service follows, by their stored keys.
bool tick_the_service_follows(std::string_view key);

std::optional<ChannelRequest> read_request(std::string_view text);
std::string request_text(const ChannelRequest& request);

// The service's answer: its node, what it shows of it, and what it said to a
// request (the outcome of a stop asked).
struct ServiceView {
    unsigned long node_id = 0;  // 0: none
    bool node_runs = false;
    bool wallets = false;  // the node answers with wallets: Back Up Wallets is offered
    std::string tip;   // the node's state as the service's snapshot shows it
    std::string said;  // to a request that acts, or empty
};

std::optional<ServiceView> read_answer(std::string_view text);
std::string answer_text(const ServiceView& view);

// The answer to a malformed request.
inline constexpr std::string_view refused_answer = "refused\n";

}  // namespace zvkob
