#include "guardian/flows/node_state_now.hpp"

#include <utility>

#include "core/time_text.hpp"

namespace zvkob {
namespace {

std::string ago(std::int64_t elapsed_ms) {
    return elapsed_ms < 1000 ? std::string("just now") : duration_text(elapsed_ms) + " ago";
}

}  // namespace

std::optional<MergedNodeState> node_state_shown(const GuardianEngine& g,
                                                const GuardedProgram& program) {
    const std::int64_t now_ms = g.services.clock.now_ms();
    return merged_node_state(g.guardian.glance.state_of(program),
                             program.node.rpc().state_shown(now_ms), now_ms);
}

std::optional<MergedNodeState> node_state_shown(const GuardianEngine& g) {
    const GuardedProgram* of = g.guardian.glance.of();
    return of == nullptr ? std::nullopt : node_state_shown(g, *of);
}

const GuardedProgram* running_node_program(const GuardianEngine& g) {
    for (const bool chosen_only : {true, false}) {
        for (const GuardedProgram* program : g.programs()) {
            if ((!chosen_only || program->chosen()) && program->node.life.runs()) {
                return program;
            }
        }
    }
    return nullptr;
}

GuardedProgram* running_node_program(GuardianEngine& g) {
    return const_cast<GuardedProgram*>(running_node_program(std::as_const(g)));
}

std::string asked_text(const NodeLife& life, std::int64_t now_ms) {
    const auto& request = life.stop_request();
    if (!request) {
        return {};
    }
    if (request->last_ms == request->first_ms) {
        return "asked " + ago(now_ms - request->first_ms);
    }
    return "first asked " + ago(now_ms - request->first_ms) + ", again " +
           ago(now_ms - request->last_ms);
}

}  // namespace zvkob
