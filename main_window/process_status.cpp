#include "main_window/process_status.hpp"

#include <utility>

#include "core/colours.hpp"

namespace zvkob {

ProcessStatus::ProcessStatus(ProcessSeen& seen, Label& label, std::string running_text,
                             std::string stopped_text)
    : seen_(seen),
      label_(label),
      running_text_(std::move(running_text)),
      stopped_text_(std::move(stopped_text)) {}

void ProcessStatus::show(bool running) {
    seen_.state = running ? RunningState::running : RunningState::stopped;
    if (running) {
        label_.set_back_colour(colours::green);
        label_.set_text(running_text_);
    } else {
        label_.set_back_colour(colours::red);
        label_.set_text(stopped_text_);
    }
}

}  // namespace zvkob
