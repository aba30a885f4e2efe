#pragma once
#include "platform/node_service.hpp"
#include "platform/win32/service/win32_service_manager.hpp"

namespace zvkob::win32 {

// This copy's service as the signed-in user's window reaches it.
class Win32NodeService : public NodeService {
public:
    std::string user_sid() override;
    std::string user_name() override;
    std::optional<ServiceRun> state(std::string_view name) override { return manager_.state(name); }
    HelperRun run_helper(std::string_view arguments) override;
    bool on_mapped_drive(std::string_view path) override;
    std::optional<std::string> ask(std::string_view name, std::string_view request) override;
    std::optional<Facts> facts(std::string_view name) override;
    std::string program_path() override;
    std::vector<std::pair<std::string, std::string>> other_copies_with_a_service(
        std::string_view this_copy) override;
    std::string error_words(std::uint32_t code) override;

private:
    Win32ServiceManager manager_;
};

// The signed-in user's SID in its text form, or empty; and the user's name.
std::string signed_in_user_sid();
std::string signed_in_user_name();

}  // namespace zvkob::win32
