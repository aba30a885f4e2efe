#include "core/instance_name.hpp"

namespace zvkob {

std::string instance_name_from_path(std::string_view program_path) {
    const auto slash = program_path.find_last_of("\\/");
    std::string_view base =
        slash == std::string_view::npos ? program_path : program_path.substr(slash + 1);
    const auto dot = base.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0) {
        base = base.substr(0, dot);
    }
    return std::string(base);
}

}  // namespace zvkob
