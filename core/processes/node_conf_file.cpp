#include "core/processes/node_conf_file.hpp"

#include <cctype>

namespace zvkob {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string_view without_quotes(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string lower(std::string_view text) {
    std::string result;
    for (const char c : text) {
        result += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return result;
}

// Takes one "name=value" line into the section it belongs to.
void take_setting(NodeConf& conf, const std::string& section, std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        return;
    }
    std::string_view name = trimmed(line.substr(0, equals));
    std::string in_section = section;
    if (const auto dot = name.find('.'); section.empty() && dot != std::string_view::npos) {
        in_section = lower(name.substr(0, dot));
        name = name.substr(dot + 1);
    }
    if (name.empty()) {
        return;
    }
    NodeOption option = node_option(name, without_quotes(trimmed(line.substr(equals + 1))));
    NodeOptions& settings = in_section.empty() ? conf.top_level : conf.sections[in_section];
    settings.try_emplace(std::move(option.name), std::move(option.value));
}

}  // namespace

NodeConf read_node_conf(std::string_view text) {
    constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";
    if (text.starts_with(byte_order_mark)) {
        text.remove_prefix(byte_order_mark.size());
    }
    NodeConf conf;
    std::string section;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const std::string_view line = trimmed(raw.substr(0, raw.find('#')));
        if (line.starts_with('[') && line.ends_with(']')) {
            section = lower(trimmed(line.substr(1, line.size() - 2)));
        } else {
            take_setting(conf, section, line);
        }
    }
    return conf;
}

}  // namespace zvkob
