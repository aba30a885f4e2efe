#include "platform/win32/wmi_process_probe.hpp"

#include "core/process_query.hpp"
#include "platform/win32/wide_text.hpp"
#include "platform/win32/wmi_query.hpp"

namespace zvkob::win32 {

// One match answers the question.
ProbeAnswer WmiProcessProbe::is_running(std::string_view image_name) {
    const auto query = process_query_text(image_name);
    if (!query) {
        return ProbeAnswer{};  // no process can have such a name
    }
    const WmiAnswer answer = run_wmi_query(widen(*query), {}, 1);
    return ProbeAnswer{.running = answer.failure.empty() && !answer.rows.empty(),
                       .failure = answer.failure};
}

}  // namespace zvkob::win32
