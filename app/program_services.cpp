#include "app/program_services.hpp"

#include "platform/win32/files/program_file.hpp"

namespace zvkob::win32 {

ProgramServices::ProgramServices(const std::string& instance)
    : history(instance),
      store(application_name, instance),
      startup(instance, program_file_path()),
      gate([this](std::string_view what) {
          notifier.show_error("ZV-KOB met a problem and carried on: " + std::string(what));
      }),
      background(gate) {}

ServicesOfTheRun::~ServicesOfTheRun() {
    if (services_->background.finish_within(longest_wait_for_the_worker)) {
        return;  // the services go now, in the reverse of their making
    }
    services_->tray_area.remove();
    services_->history.record(
        "Work in the background (a drive, a network path or the node's RPC that does not "
        "answer) had not ended when ZV-KOB closed; it was left to end with the program.");
    services_->history.flush();
    static_cast<void>(services_.release());  // the process ends, and the piece with it
}

}  // namespace zvkob::win32
