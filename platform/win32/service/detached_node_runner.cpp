#include "platform/win32/service/detached_node_runner.hpp"

#include <userenv.h>

#include "core/processes/node_command_line.hpp"
#include "platform/win32/owners.hpp"
#include "platform/win32/processes/win32_held_process.hpp"
#include "platform/win32/service/node_token.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

// The environment a sign-in of the token's account would have.
class AccountEnvironment {
public:
    explicit AccountEnvironment(HANDLE token) {
        if (!CreateEnvironmentBlock(&block_, token, FALSE)) {
            block_ = nullptr;
        }
    }
    ~AccountEnvironment() {
        if (block_ != nullptr) {
            DestroyEnvironmentBlock(block_);
        }
    }
    AccountEnvironment(const AccountEnvironment&) = delete;
    AccountEnvironment& operator=(const AccountEnvironment&) = delete;
    void* get() const { return block_; }

private:
    void* block_ = nullptr;
};

// The folder of the program the command starts, or none.
std::wstring program_folder(std::string_view command_line) {
    const std::string program = read_node_command_line(command_line).program;
    const auto slash = program.find_last_of("\\/");
    return slash == std::string::npos ? std::wstring() : widen(program.substr(0, slash));
}

}  // namespace

DWORD service_node_creation_flags(NodePriority priority, bool own_environment) {
    return DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP |
           (own_environment ? CREATE_UNICODE_ENVIRONMENT : 0) |
           (priority == NodePriority::low ? BELOW_NORMAL_PRIORITY_CLASS : 0);
}

Start DetachedNodeRunner::run_hidden(std::string_view command_line, NodePriority priority) {
    if (command_line.empty()) {
        return {nullptr, "There is no command to run."};
    }
    std::string failure;
    const KernelHandle token = node_token(failure);
    if (!token) {
        return {nullptr, failure};
    }
    const AccountEnvironment environment(token.get());
    std::wstring command = widen(command_line);  // CreateProcessAsUserW may write to it
    const std::wstring folder = program_folder(command_line);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessAsUserW(token.get(), nullptr, command.data(), nullptr, nullptr, FALSE,
                              service_node_creation_flags(priority, environment.get() != nullptr),
                              environment.get(), folder.empty() ? nullptr : folder.c_str(),
                              &startup, &started)) {
        return {nullptr, system_error_text(GetLastError())};
    }
    const KernelHandle thread(started.hThread);
    return {std::make_shared<Win32HeldProcess>(KernelHandle(started.hProcess), started.dwProcessId,
                                               HeldSince::started),
            {}};
}

}  // namespace zvkob::win32
