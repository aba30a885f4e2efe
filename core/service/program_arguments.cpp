#include "core/service/program_arguments.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace zvkob {
namespace {

constexpr std::array<std::pair<std::string_view, ProgramRole>, 4> roles{{
    {"--service", ProgramRole::service},
    {"--install-service", ProgramRole::install_service},
    {"--repair-service", ProgramRole::repair_service},
    {"--remove-service", ProgramRole::remove_service},
}};

// A SID in its text form: S-1-5-21-...; letters, digits and dashes only.
bool is_sid(std::string_view text) {
    return text.size() > 4 && text.size() < 200 && text.starts_with("S-1-") &&
           std::ranges::all_of(text, [](char c) {
               return c == '-' || c == 'S' || (c >= '0' && c <= '9');
           });
}

bool read_wait(std::string_view text, std::int64_t& wait_ms) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), wait_ms);
    return error == std::errc() && end == text.data() + text.size() && wait_ms > 0;
}

std::string_view role_argument(ProgramRole role) {
    for (const auto& [argument, named] : roles) {
        if (named == role) {
            return argument;
        }
    }
    return {};
}

}  // namespace

ProgramArguments program_arguments(std::span<const std::string> arguments) {
    if (arguments.empty()) {
        return {};
    }
    const auto named = std::ranges::find(roles, arguments[0], &std::pair<std::string_view, ProgramRole>::first);
    if (named == roles.end()) {
        return {};
    }
    ProgramArguments read{named->second, {}, 0};
    switch (read.role) {
        case ProgramRole::service:
            return arguments.size() == 1 ? read : ProgramArguments{};
        case ProgramRole::remove_service:
            if (arguments.size() == 2 && is_sid(arguments[1])) {
                read.user_sid = arguments[1];
                return read;
            }
            return {};
        default:
            if (arguments.size() == 3 && is_sid(arguments[1]) &&
                read_wait(arguments[2], read.shutdown_wait_ms)) {
                read.user_sid = arguments[1];
                return read;
            }
            return {};
    }
}

std::string helper_arguments(ProgramRole role, std::string_view user_sid,
                             std::int64_t shutdown_wait_ms) {
    std::string line(role_argument(role));
    if (role == ProgramRole::window || role == ProgramRole::service) {
        return line;
    }
    line += " " + std::string(user_sid);
    if (role != ProgramRole::remove_service) {
        line += " " + std::to_string(shutdown_wait_ms);
    }
    return line;
}

}  // namespace zvkob
