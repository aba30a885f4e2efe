#pragma once
#include <string>
#include <vector>

namespace zvkob::win32 {

// The rows a query answered, each holding the asked properties as text
// (empty for a property the service leaves null), or why it failed.
struct WmiAnswer {
    std::vector<std::vector<std::wstring>> rows;
    std::string failure;  // empty when answered
};

// Runs a WQL query on Windows Management Instrumentation (ROOT\CIMV2) and
// reads up to `most_rows` rows. Every call opens its own connection and
// releases it before it returns, and waits at most a few seconds for each
// row; a failure is returned with the reason, never thrown. COM must be
// initialised on the calling thread.
WmiAnswer run_wmi_query(const std::wstring& query, const std::vector<std::wstring>& properties,
                        std::size_t most_rows);

}  // namespace zvkob::win32
