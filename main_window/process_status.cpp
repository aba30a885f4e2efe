#include "main_window/process_status.hpp"

#include <exception>
#include <utility>

namespace zvkob {

ProcessStatus::ProcessStatus(Label& label, std::string running_text, std::string stopped_text)
    : label_(label),
      running_text_(std::move(running_text)),
      stopped_text_(std::move(stopped_text)) {}

void ProcessStatus::refresh(ProcessProbe& probe, const std::string& image_name) {
    starting_ = false;
    ProbeAnswer answer;
    try {
        answer = probe.PROCESS_RUNNING(image_name);
    } catch (const std::exception& failure) {
        const std::string why = failure.what();
        answer = ProbeAnswer{.running = false, .failure = why.empty() ? "Unknown failure." : why};
    }
    query_failure_ = answer.failure;
    if (!answer.answered()) {
        show_query_failure(image_name, answer.failure);
        return;
    }
    show_answer(answer.running);
    label_.set_tooltip("");
}

void ProcessStatus::show_answer(bool running) {
    state_ = running ? RunningState::running : RunningState::stopped;
    if (running) {
        label_.set_back_colour(colours::green);
        label_.set_text(running_text_);
    } else {
        label_.set_back_colour(colours::red);
        label_.set_text(stopped_text_);
    }
}

void ProcessStatus::show_query_failure(std::string_view image_name, std::string_view reason) {
    label_.set_tooltip("ZV-KOB cannot tell whether \"" + std::string(image_name) + "\" runs. " +
                       std::string(reason) +
                       "\nThe label keeps the last known state; ZV-KOB asks again twice a second.");
}

}  // namespace zvkob
