#include "core/service/channel_messages.hpp"

#include <array>
#include <charconv>
#include <vector>

#include "core/settings/settings_catalogue.hpp"

namespace zvkob {
namespace {

constexpr std::array followed_ticks = {
    stored::keep_node_running.key, stored::battery_stop.key, stored::metered_pause.key,
    stored::node_low_priority.key, stored::keep_awake.key,   stored::check_data_drive.key,
};

// The lines of a text, each without its end; a text not ending in one is malformed.
std::optional<std::vector<std::string_view>> lines_of(std::string_view text, std::size_t longest) {
    if (text.size() > longest || text.empty() || text.back() != '\n') {
        return std::nullopt;
    }
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        if (line.find_first_of(std::string_view("\r\0", 2)) != line.npos) {
            return std::nullopt;
        }
        lines.push_back(line);
        text.remove_prefix(end + 1);
    }
    return lines;
}

// "<word> <rest>": the rest after the word and one space.
std::optional<std::string_view> after(std::string_view line, std::string_view word) {
    if (line.size() < word.size() + 1 || !line.starts_with(word) || line[word.size()] != ' ') {
        return std::nullopt;
    }
    return line.substr(word.size() + 1);
}

}  // namespace

bool tick_the_service_follows(std::string_view key) {
    for (const std::string_view followed : followed_ticks) {
        if (followed == key) {
            return true;
        }
    }
    return false;
}

std::optional<ChannelRequest> read_request(std::string_view text) {
    const auto lines = lines_of(text, longest_request);
    if (!lines || lines->size() != 1) {
        return std::nullopt;
    }
    const std::string_view line = lines->front();
    using Kind = ChannelRequest::Kind;
    if (line == "view") {
        return ChannelRequest{Kind::view, {}, false};
    }
    if (line == "stop-node") {
        return ChannelRequest{Kind::stop_node, {}, false};
    }
    if (line == "settings-saved") {
        return ChannelRequest{Kind::settings_saved, {}, false};
    }
    if (line == "hand-back") {
        return ChannelRequest{Kind::hand_back, {}, false};
    }
    if (const auto note = after(line, "note"); note && !note->empty()) {
        return ChannelRequest{Kind::note, std::string(*note), false};
    }
    if (const auto folder = after(line, "back-up-wallets"); folder && !folder->empty()) {
        return ChannelRequest{Kind::back_up_wallets, std::string(*folder), false};
    }
    if (const auto tick = after(line, "tick")) {
        const auto space = tick->find(' ');
        const std::string_view key = tick->substr(0, space);
        const std::string_view value = space == tick->npos ? "" : tick->substr(space + 1);
        if (tick_the_service_follows(key) && (value == "0" || value == "1")) {
            return ChannelRequest{Kind::tick, std::string(key), value == "1"};
        }
    }
    return std::nullopt;
}

std::string request_text(const ChannelRequest& request) {
    using Kind = ChannelRequest::Kind;
    switch (request.kind) {
        case Kind::view:
            return "view\n";
        case Kind::stop_node:
            return "stop-node\n";
        case Kind::settings_saved:
            return "settings-saved\n";
        case Kind::hand_back:
            return "hand-back\n";
        case Kind::note:
            return "note " + request.key + "\n";
        case Kind::back_up_wallets:
            return "back-up-wallets " + request.key + "\n";
        case Kind::tick:
            break;
    }
    return "tick " + request.key + (request.on ? " 1\n" : " 0\n");
}

std::optional<ServiceView> read_answer(std::string_view text) {
    const auto lines = lines_of(text, longest_answer);
    if (!lines) {
        return std::nullopt;
    }
    ServiceView view;
    bool node_told = false;
    for (const std::string_view line : *lines) {
        if (const auto node = after(line, "node")) {
            const auto [end, error] =
                std::from_chars(node->data(), node->data() + node->size(), view.node_id);
            node_told = error == std::errc() && end == node->data() + node->size();
        } else if (line == "runs") {
            view.node_runs = true;
        } else if (line == "wallets") {
            view.wallets = true;
        } else if (const auto tip = after(line, "tip")) {
            view.tip += (view.tip.empty() ? "" : "\n") + std::string(*tip);
        } else if (const auto said = after(line, "said")) {
            view.said += (view.said.empty() ? "" : "\n") + std::string(*said);
        } else {
            return std::nullopt;
        }
    }
    return node_told ? std::optional(view) : std::nullopt;
}

std::string answer_text(const ServiceView& view) {
    std::string text = "node " + std::to_string(view.node_id) + "\n";
    if (view.node_runs) {
        text += "runs\n";
    }
    if (view.wallets) {
        text += "wallets\n";
    }
    const auto each_line = [&text](std::string_view word, std::string_view lines) {
        while (!lines.empty()) {
            const auto end = lines.find('\n');
            std::string line(lines.substr(0, end));
            std::erase(line, '\r');
            text += std::string(word) + " " + line + "\n";
            lines = end == lines.npos ? std::string_view() : lines.substr(end + 1);
        }
    };
    each_line("tip", view.tip);
    each_line("said", view.said);
    if (text.size() > longest_answer) {
        text.resize(longest_answer - 1);
        text.erase(text.rfind('\n') + 1);  // whole lines only
    }
    return text;
}

}  // namespace zvkob
