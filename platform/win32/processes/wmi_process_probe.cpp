#include "platform/win32/processes/wmi_process_probe.hpp"

#include "core/processes/process_query.hpp"
#include "platform/win32/wide_text.hpp"
#include "platform/win32/processes/wmi_query.hpp"

namespace zvkob::win32 {

namespace {

// More processes of one name than anyone runs: the count is then "many".
constexpr std::size_t most_counted = 256;

}  // namespace

// The rows are counted: the watcher lists the processes again only when
// their number changes.
ProbeAnswer WmiProcessProbe::is_running(std::string_view image_name) {
    const auto query = process_query_text(image_name);
    if (!query) {
        return ProbeAnswer{.running = false, .failure = {}, .count = 0};  // no process has it
    }
    const WmiAnswer answer = run_wmi_query(widen(*query), {}, most_counted);
    if (!answer.failure.empty()) {
        return ProbeAnswer{.running = false, .failure = answer.failure};
    }
    return ProbeAnswer{.running = !answer.rows.empty(), .failure = {}, .count = answer.rows.size()};
}

}  // namespace zvkob::win32
