#include "core/processes/process_query.hpp"

namespace zvkob {
namespace {

bool can_be_a_file_name(std::string_view name) {
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F ||
            std::string_view("\"\\/:*?<>|").find(c) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<std::string> process_query_text(std::string_view image_name,
                                              std::string_view properties) {
    if (!can_be_a_file_name(image_name)) {
        return std::nullopt;
    }
    const char quote = image_name.find('\'') == std::string_view::npos ? '\'' : '"';
    return "SELECT " + std::string(properties) +
           " FROM Win32_Process WHERE Name=" + std::string(1, quote) + std::string(image_name) +
           std::string(1, quote);
}

}  // namespace zvkob
