#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/service_manager.hpp"

namespace zvkob {

// How a run of the elevated helper went.
struct HelperRun {
    enum class Result { ended, consent_refused, failed } result = Result::ended;
    std::uint32_t exit_code = 0;  // when it ended
    std::string failure;          // Windows' words, when it failed
};

// The service of this copy as the signed-in user's window reaches it: it
// asks, and has the elevated helper do the rest.
class NodeService {
public:
    virtual ~NodeService() = default;

    // The signed-in user's SID and name.
    virtual std::string user_sid() = 0;
    virtual std::string user_name() = 0;
    // The state of the named service; none when there is none.
    virtual std::optional<ServiceRun> state(std::string_view name) = 0;
    // Runs this program again as an administrator (Windows asks for consent)
    // with these arguments, and waits for it to end.
    virtual HelperRun run_helper(std::string_view arguments) = 0;
    // A path on a drive letter mapped to a network share, which a service
    // does not see.
    virtual bool on_mapped_drive(std::string_view path) = 0;
    // What the service manager keeps of the service: none when it is not installed.
    struct Facts {
        ServiceRun run = ServiceRun::stopped;
        std::uint32_t exit_code = 0;  // Windows' code of its last stop, or of its failed start
        std::string command_line;     // what it runs
    };
    virtual std::optional<Facts> facts(std::string_view name) = 0;
    // This program file, as the service should run it.
    virtual std::string program_path() = 0;
    // The other copies of this user that have a service, by name, with the
    // data folder each has stored.
    virtual std::vector<std::pair<std::string, std::string>> other_copies_with_a_service(
        std::string_view this_copy) = 0;
    // Asks the running service on its channel (channel_messages.hpp): its
    // answer, or nothing when the service does not run or does not answer.
    virtual std::optional<std::string> ask(std::string_view name, std::string_view request) = 0;
    // Windows' words for one of its error codes.
    virtual std::string error_words(std::uint32_t code) = 0;
};

}  // namespace zvkob
