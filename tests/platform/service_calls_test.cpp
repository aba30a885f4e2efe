// The service's calls to Windows: the node's creation with no console, what
// the service manager is told and heard from, and a service installed,
// changed and taken away through the real service manager under wine (which
// sends no pre-shut-down notice: its handling is proven here by the exact
// answers and statuses).
#include <gtest/gtest.h>

#include "driver.hpp"
#include "core/service/channel_messages.hpp"
#include "platform/win32/service/channel_pipe.hpp"
#include "platform/win32/service/detached_node_runner.hpp"
#include "platform/win32/service/service_dispatch.hpp"
#include "platform/win32/service/win32_node_service.hpp"
#include "platform/win32/service/win32_service_manager.hpp"

namespace zvkob::win32 {
namespace {

using namespace zvkob::e2e;

TEST(ServiceCalls, TheNodeIsCreatedWithNoConsoleInAGroupOfItsOwn) {
    EXPECT_EQ(service_node_creation_flags(NodePriority::normal, true),
              static_cast<DWORD>(DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP |
                                 CREATE_UNICODE_ENVIRONMENT));
    EXPECT_EQ(service_node_creation_flags(NodePriority::low, false),
              static_cast<DWORD>(DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP |
                                 BELOW_NORMAL_PRIORITY_CLASS));

    // A real start: the process runs, and has no console another could attach to.
    ScratchFolder folder(L"detached node");
    const std::wstring exe = stand_in(folder.file(L"bitcoind.exe"));
    const Start started = DetachedNodeRunner().run_hidden("\"" + narrow(exe) + "\" -x=1");
    ASSERT_TRUE(started.started()) << started.failure;
    EXPECT_TRUE(wait_until([&] { return read_file(exe + L".args") == "-x=1\n"; }, 10s));
    EXPECT_FALSE(AttachConsole(started.process->id()));
    write_file(exe + L".stop", "");
    EXPECT_TRUE(wait_until([&] { return started.process->end().has_value(); }, 10s));
}

TEST(ServiceCalls, TheServiceTakesTheNoticeBeforeShutDownAndTellsEachCheckpoint) {
    EXPECT_EQ(accepted_controls, static_cast<DWORD>(SERVICE_ACCEPT_STOP |
                                                    SERVICE_ACCEPT_PRESHUTDOWN |
                                                    SERVICE_ACCEPT_POWEREVENT));
    const auto heard = [](DWORD control) { return control_heard(control, 0, nullptr); };
    EXPECT_EQ(heard(SERVICE_CONTROL_PRESHUTDOWN).answer, static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(heard(SERVICE_CONTROL_PRESHUTDOWN).control->kind,
              ServiceControl::Kind::shutdown_coming);
    EXPECT_EQ(heard(SERVICE_CONTROL_STOP).control->kind, ServiceControl::Kind::stop);
    EXPECT_EQ(heard(hand_node_back_control).control->kind, ServiceControl::Kind::hand_back);
    EXPECT_EQ(control_heard(SERVICE_CONTROL_POWEREVENT, PBT_APMRESUMEAUTOMATIC, nullptr)
                  .control->kind,
              ServiceControl::Kind::resumed);
    EXPECT_FALSE(heard(SERVICE_CONTROL_INTERROGATE).control);
    EXPECT_EQ(heard(SERVICE_CONTROL_PAUSE).answer, static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED));

    EXPECT_EQ(running_status().dwControlsAccepted, accepted_controls);
    const SERVICE_STATUS pending = stop_pending_status(3, 10'000);
    EXPECT_EQ(pending.dwCurrentState, static_cast<DWORD>(SERVICE_STOP_PENDING));
    EXPECT_EQ(pending.dwCheckPoint, 3U);
    EXPECT_EQ(pending.dwWaitHint, 10'000U);
    EXPECT_EQ(pending.dwControlsAccepted, 0U);  // nothing more while it stops
    EXPECT_EQ(stopped_status(0).dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED));
}

// Reads back what the service manager keeps of a service.
DWORD shutdown_wait_kept(const std::wstring& name) {
    const SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    const SC_HANDLE service = OpenServiceW(manager, name.c_str(), SERVICE_QUERY_CONFIG);
    SERVICE_PRESHUTDOWN_INFO wait{};
    DWORD size = 0;
    QueryServiceConfig2W(service, SERVICE_CONFIG_PRESHUTDOWN_INFO, reinterpret_cast<BYTE*>(&wait),
                         sizeof wait, &size);
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return wait.dwPreshutdownTimeout;
}

TEST(ServiceCalls, AServiceIsInstalledWithItsWaitChangedAndTakenAwayWhole) {
    Win32ServiceManager manager;
    const std::string name = "ZV-KOB platform test (" + Win32NodeService().user_name() + ")";
    static_cast<void>(manager.remove(name));
    ServiceSetup setup{name, "A test.", "\"C:\\zvkob tests\\ZV-KOB.exe\" --service",
                       ".\\" + Win32NodeService().user_name(), 7 * 60'000};
    ASSERT_FALSE(manager.install(setup, SecretPassword(L"x")));
    EXPECT_EQ(manager.state(name), ServiceRun::stopped);
    EXPECT_EQ(shutdown_wait_kept(widen(name)), 420'000U);
    EXPECT_TRUE(manager.install(setup, SecretPassword(L"x")));  // there already

    setup.shutdown_wait_ms = 20 * 60'000;
    EXPECT_FALSE(manager.repair(setup));
    EXPECT_EQ(shutdown_wait_kept(widen(name)), 1'200'000U);
    EXPECT_FALSE(manager.right_was_granted(name));
    manager.note_right_granted(name);
    EXPECT_TRUE(manager.right_was_granted(name));

    EXPECT_FALSE(manager.remove(name));
    EXPECT_FALSE(manager.state(name));
    EXPECT_TRUE(manager.remove(name));
}

}  // namespace
}  // namespace zvkob::win32

namespace zvkob::win32 {
namespace {

TEST(ServiceChannelPipe, OnlyTheUserGetsInAndOnlyTheServicesOwnProcessIsAsked) {
    const std::string sid = signed_in_user_sid();
    EXPECT_EQ(channel_security("S-1-5-21-1-2-3-1001"), "D:P(D;;GA;;;NU)(A;;GA;;;S-1-5-21-1-2-3-1001)");
    EXPECT_EQ(channel_open_mode,
              static_cast<DWORD>(PIPE_ACCESS_DUPLEX | FILE_FLAG_FIRST_PIPE_INSTANCE |
                                 FILE_FLAG_OVERLAPPED));
    EXPECT_EQ(channel_pipe_mode, static_cast<DWORD>(PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE |
                                                    PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS));

    std::vector<std::string> heard;
    const ChannelServer server("ZV-KOB pipe test (user)", sid, [&heard](const std::string& request) {
        heard.push_back(request);
        return read_request(request) ? std::string("node 7\nruns\n") : std::string(refused_answer);
    });
    ASSERT_TRUE(server.failure().empty()) << server.failure();
    // A second server of the same name (a squatter, or a second service) cannot be made.
    EXPECT_FALSE(ChannelServer("ZV-KOB pipe test (user)", sid, nullptr).failure().empty());

    const DWORD self = GetCurrentProcessId();
    EXPECT_EQ(ask_channel("ZV-KOB pipe test (user)", self, "view\n"), "node 7\nruns\n");
    EXPECT_EQ(ask_channel("ZV-KOB pipe test (user)", self, "view; del\n"), std::string(refused_answer));
    EXPECT_FALSE(ask_channel("ZV-KOB pipe test (user)", self + 4, "view\n"));  // not the service's
    EXPECT_FALSE(ask_channel("ZV-KOB no such service (user)", self, "view\n"));
    EXPECT_EQ(heard.size(), 2U);
}

}  // namespace
}  // namespace zvkob::win32
