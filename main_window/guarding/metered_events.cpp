#include "main_window/guarding/metered_events.hpp"

#include <array>

#include "core/node_rpc/node_rpc_asker.hpp"
#include "main_window/shown_state.hpp"
#include "main_window/guarding/stop_node.hpp"
#include "main_window/window_menu.hpp"

namespace zvkob {
namespace {

// What came of setnetworkactive: nothing, or why it failed.
struct NetworkAnswer {
    bool ok = false;
    std::string failure;
};

void set_network(MainWindow& w, NodeProgram& program, NetworkAction action) {
    const std::array params{RpcParam::flag(action == NetworkAction::resume)};
    run_in_background<NetworkAnswer>(
        w.services.background,
        [endpoint = program.node.rpc().endpoint(), id = program.node.id(), params,
         &http = w.services.http, &listeners = w.services.listeners, &files = w.services.files] {
            NodeRpcAsker rpc(http, listeners, files);
            const RpcReply reply = rpc.call(endpoint, id, "setnetworkactive", params);
            return NetworkAnswer{reply.ok(), reply.ok() ? std::string() : reply.describe()};
        },
        [&w, &program, action](const NetworkAnswer& answer) {
            w.metered.answered(action, answer.ok, answer.failure, program.node.rpc().polls_asked());
            program.node.rpc().ask_now(w.services.clock.now_ms());  // its networkactive anew
            show_state(w);
        },
        w.lifetime, Lane::node_rpc);
}

void read_cost(MainWindow& w) {
    NodeProgram* program = running_node_program(w);
    w.metered.node_is(program == nullptr ? 0 : program->node.id());
    const NodeRpc* rpc = program == nullptr ? nullptr : &program->node.rpc();
    const bool answers = rpc != nullptr && rpc->answers();
    // A poll asked before the last call's answer is not taken as the user's
    // own switch: unknown, the network is taken as the call left it.
    const bool fresh = answers && w.metered.heard_since_call(rpc->polls_asked(), rpc->polling());
    const NetworkAction action = w.metered.read(w.metered_pause.ticked(), answers,
                                                fresh ? rpc->state()->network_active : std::nullopt,
                                                w.services.clock.now_ms());
    if (action != NetworkAction::none) {
        set_network(w, *program, action);
    }
}

}  // namespace

void metered_pause_clicked(MainWindow& w) {
    switch_tick(w, w.metered_pause, stored::metered_pause,
                "Pause the Node's Network on Metered Links");
    w.metered.read_soon();
    metered_tick(w);
}

void metered_tick(MainWindow& w) {
    if (w.metered.due(w.services.clock.now_ms())) {
        read_cost(w);
    }
}

void metered_closing(MainWindow& w) {
    if (const std::string event = w.metered.closing(); !event.empty()) {
        w.services.history.record(event);
    }
}

std::string metered_tooltip(const MainWindow& w) {
    return w.metered.paused() ? metered_tooltip_line : "";
}

}  // namespace zvkob
