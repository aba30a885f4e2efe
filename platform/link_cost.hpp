#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/outcome.hpp"

namespace zvkob {

// The cost of the PC's network link, as link_cost bits (core/metered_pause.hpp).
struct LinkCostReading {
    std::optional<std::uint32_t> cost;  // none when Windows could not tell
    std::string failure;                // why not
};

// The link's cost, read on demand, and told when it changes.
class LinkCost {
public:
    virtual ~LinkCost() = default;
    virtual LinkCostReading read() = 0;
    // Calls `changed` on the window's thread whenever Windows tells of a new
    // cost, until this goes; the reading every 30 s does without it.
    virtual Outcome watch(std::function<void()> changed) = 0;
};

}  // namespace zvkob
