// The service that starts the node before sign-in, with the real node
// (Debian's litecoind on regtest, litecoind.exe standing for it) and the
// real service manager of wine. Two phases, run by service_restart.sh with
// the lane's wine ended between them as a power cut ends a PC:
//   install: the window's tick installs the service (the consent and the
//     credential prompt answered as a user would), the service starts the
//     node, and starts it again after a kill -9 with the window closed;
//   boot: wine starting again starts the service, which starts the node with
//     no window open; a stop of the service stops the node over its RPC
//     before the service says it has stopped; then the window beside the
//     service, which takes the service away and the node back.
#include <gtest/gtest.h>

#include <iostream>

#include "driver.hpp"
#include "main_window/main_window_layout.hpp"
#include "platform/win32/service/win32_node_service.hpp"
#include "platform/win32/service/win32_service_manager.hpp"
#include "regtest_node.hpp"

namespace zvkob::e2e {
namespace {

const WindowSpec& layout = main_window_layout();
const std::wstring folder = L"C:\\zvkob-tests\\service node";

std::string this_service() {
    return "ZV-KOB ZV-KOB (" + win32::Win32NodeService().user_name() + ")";
}

// The node's folder, kept from one phase to the next.
struct ServiceNode {
    RegtestNode node;
    std::wstring exe = folder + L"\\litecoind.exe";
    std::wstring batch = folder + L"\\ZVKOB-D.BAT";

    ServiceNode() {
        node.data = folder + L"\\node data";
        node.conf = folder + L"\\litecoin.conf";
    }
    unsigned long native_pid() const {
        return std::strtoul(read_file(exe + L".pid").c_str(), nullptr, 10);
    }
    bool native_runs(unsigned long pid) const {
        return pid != 0 &&
               run_native("grep -q litecoind /proc/" + std::to_string(pid) + "/cmdline", 10s)
                       ->exit_code == 0;
    }
    std::string history() const { return read_file(history_file(L"ZV-KOB")); }
    bool history_holds(std::string_view line, std::chrono::milliseconds deadline) const {
        return wait_until([&] { return history().find(line) != std::string::npos; }, deadline);
    }
};

// The prompt the helper shows for the account's password, answered.
bool give_password(std::wstring_view password) {
    HWND prompt = nullptr;
    if (!wait_until(
            [&] {
                prompt = FindWindowW(nullptr, L"ZV-KOB: start the node before sign-in");
                return prompt != nullptr && IsWindowVisible(prompt);
            },
            30s)) {
        return false;
    }
    HWND field = nullptr;
    while ((field = FindWindowExW(prompt, field, L"Edit", nullptr)) != nullptr) {
        if ((GetWindowLongW(field, GWL_STYLE) & ES_PASSWORD) != 0) {
            SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(std::wstring(password).c_str()));
        }
    }
    SendMessageW(GetDlgItem(prompt, IDOK), BM_CLICK, 0, 0);
    return true;
}

// Nothing is left behind in the lane: a service left installed would start
// its node at every start of the lane's wine.
class ServiceBeforeSignIn : public ::testing::Test {
public:
    void SetUp() override {
        if (!real_node_installed()) {
            GTEST_SKIP() << "litecoind is not installed (scripts/install-deps.sh installs it)";
        }
    }
    // What a phase leaves: everything taken away at its end, or only where it failed.
    struct TakenAway {
        ServiceBeforeSignIn& test;
        ~TakenAway() { test.take_everything_away(); }
    };
    struct LeftAsItWas {
        ServiceBeforeSignIn& test;
        ~LeftAsItWas() {
            if (::testing::Test::HasFailure()) {
                test.take_everything_away();
            }
        }
    };
    void take_everything_away() {
        static_cast<void>(win32::Win32ServiceManager().stop_with(this_service(),
                                                                 hand_node_back_control, 10'000));
        static_cast<void>(win32::Win32ServiceManager().remove(this_service()));
        run_native("pkill -9 -f " + quoted("zvkob-tests/service node/"), 10s);
        kill_processes(L"litecoind.exe");
        delete_section(L"ZV-KOB");
    }
};

TEST_F(ServiceBeforeSignIn, Install_TheTickInstallsItAndItRestartsAKilledNode) {
    static_cast<void>(win32::Win32ServiceManager().remove(this_service()));
    CreateDirectoryW(L"C:\\zvkob-tests", nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    run_native("rm -rf " + quoted(unix_path(folder)), 10s);  // what an earlier run left
    CreateDirectoryW(folder.c_str(), nullptr);
    ServiceNode service;
    service.node.configure(folder);
    copy_file(native_node_exe(), service.exe);
    write_file(service.batch, "call \"" + narrow(service.exe) + "\" -conf=\"" +
                                  narrow(service.node.conf) + "\" -datadir=\"" +
                                  narrow(service.node.data) + "\"\r\n");
    delete_section(L"ZV-KOB");
    DeleteFileW(history_file(L"ZV-KOB").c_str());
    for (const auto& [key, value] : Section{{L"DAEMOND_NAME_TEXTBOX", L"litecoind.exe"},
                                            {L"BAT_DAEMON_RUN_COMMAND_TEXTBOX", service.batch},
                                            {L"USE_DAEMON_BAT_TICKBOX", L"1"},
                                            {L"BLOCKCHAIN_FOLDER_TEXTBOX", service.node.data},
                                            {L"KEEP_NODE_RUNNING", L"1"}}) {
        write_setting(L"ZV-KOB", key, value);
    }

    const LeftAsItWas cleanup{*this};
    std::unique_ptr<Process> program;
    HWND window = start_zv_kob(program);
    ASSERT_NE(window, nullptr);
    choose_window_menu_command(window, layout, main_layout::before_sign_in);
    ASSERT_TRUE(give_password(L"the account's password"));
    const std::wstring said = answer_next_box(program->id(), press_ok);
    EXPECT_NE(said.find(L"The node now starts before anyone signs in"), std::wstring::npos)
        << narrow(said) << service.history();
    EXPECT_EQ(win32::Win32ServiceManager().state(this_service()), ServiceRun::running);
    ASSERT_TRUE(close_and_wait(window, *program));

    // The service's node, started with no window open.
    ASSERT_TRUE(service.history_holds("The service started the DAEMON program: ", 60s))
        << service.history();
    EXPECT_EQ(service.node.cli("getblockcount"), "0");
    const unsigned long first = service.native_pid();
    ASSERT_TRUE(service.native_runs(first));

    // A crash: the service starts it again, with no countdown.
    run_native("kill -9 " + std::to_string(first), 10s);
    EXPECT_TRUE(service.history_holds("Keep Node Running started the DAEMON program: ", 60s))
        << service.history();
    ASSERT_TRUE(wait_until(
        [&] { return service.native_pid() != first && service.native_runs(service.native_pid()); },
        60s));
    EXPECT_EQ(service.node.cli("getblockcount"), "0");
    std::cout << "The service's history:\n" << service.history() << std::flush;
}

TEST_F(ServiceBeforeSignIn, Boot_TheServiceStartsTheNodeAndStopsItOverItsRpcFirst) {
    const LeftAsItWas cleanup{*this};
    ServiceNode service;
    win32::Win32ServiceManager manager;
    ASSERT_TRUE(manager.state(this_service())) << "the install phase left no service";
    // Wine started its session, and with it the service: the node runs, no window is open.
    ASSERT_TRUE(wait_until([] { return times_in_history(L"ZV-KOB", "litecoind.exe) before anyone signs in") == 2; },
                           60s))
        << service.history();
    ASSERT_TRUE(wait_until(
        [] { return times_in_history(L"ZV-KOB", "The service started the DAEMON program") == 2; },
        60s))
        << service.history();
    EXPECT_EQ(service.node.cli("getblockcount"), "0");
    const unsigned long pid = service.native_pid();
    ASSERT_TRUE(service.native_runs(pid));
    EXPECT_EQ(FindWindowW(nullptr, L"TARLOWEN - ZV-KOB - ZV-KOB"), nullptr);

    // sc stop: the node is asked over its RPC and has ended before the service says stopped.
    ASSERT_TRUE(wait_until([&] { return service.node.log().find("Done loading") != std::string::npos; },
                           60s));
    const SC_HANDLE scm = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    const SC_HANDLE handle =
        OpenServiceW(scm, widen(this_service()).c_str(), SERVICE_STOP | SERVICE_QUERY_STATUS);
    SERVICE_STATUS status{};
    ASSERT_TRUE(ControlService(handle, SERVICE_CONTROL_STOP, &status));
    DWORD last_checkpoint = 0;
    bool checkpoints_rose = true;
    ASSERT_TRUE(wait_until(
        [&] {
            if (!QueryServiceStatus(handle, &status)) {
                return false;
            }
            if (status.dwCurrentState == SERVICE_STOP_PENDING) {
                checkpoints_rose = checkpoints_rose && status.dwCheckPoint >= last_checkpoint;
                last_checkpoint = status.dwCheckPoint;
            }
            return status.dwCurrentState == SERVICE_STOPPED;
        },
        120s));
    EXPECT_FALSE(service.native_runs(pid));
    EXPECT_TRUE(checkpoints_rose);
    EXPECT_NE(service.node.log().find("ThreadRPCServer method=stop user=__cookie__"),
              std::string::npos);
    EXPECT_NE(service.node.log().find("Shutdown: done"), std::string::npos);
    EXPECT_NE(service.history().find("The service stopped; the DAEMON program"), std::string::npos)
        << service.history();
    CloseServiceHandle(handle);
    CloseServiceHandle(scm);
    std::cout << "The service's history:\n" << service.history() << std::flush;
}

// The window opened beside the running service: it shows the service's node,
// its battery tick and Stop Node go to the service, which leaves the node
// stopped; cleared, the tick takes the service away and the node runs on,
// now the window's.
TEST_F(ServiceBeforeSignIn, Boot_TheWindowBesideTheServiceShowsItsNodeAndHandsItOver) {
    const TakenAway cleanup{*this};
    ServiceNode service;
    win32::Win32ServiceManager manager;
    const auto started_times = [] {
        return times_in_history(L"ZV-KOB", "The service started the DAEMON program");
    };
    const auto start_the_service = [&] {
        const std::size_t before = started_times();
        ASSERT_FALSE(manager.start(this_service()));
        ASSERT_TRUE(wait_until([&] { return started_times() == before + 1; }, 60s))
            << service.history();
        EXPECT_EQ(service.node.cli("getblockcount"), "0");
    };
    ASSERT_NO_FATAL_FAILURE(start_the_service());

    std::unique_ptr<Process> program;
    HWND window = start_zv_kob(program);
    ASSERT_NE(window, nullptr);
    HWND label = control(window, layout, main_layout::daemon_status);
    ASSERT_TRUE(wait_until([&] { return text(label) == L"!!! DAEMON RUNNING !!!"; }, 20s));
    EXPECT_TRUE(service.history_holds("The window steps back: the service", 10s));

    choose_window_menu_command(window, layout, main_layout::battery_stop);
    EXPECT_TRUE(service.history_holds("The service follows BATTERY_STOP as the window changed it.",
                                      10s))
        << service.history();

    // The service's own view, once the node's RPC answers it (its only way to stop the node).
    std::wstring tip;
    EXPECT_TRUE(wait_until(
        [&] {
            tip = tooltip_of(label);
            return tip.find(L"Guarded by this copy's service") != std::wstring::npos &&
                   tip.find(L"From the node's RPC") != std::wstring::npos;
        },
        60s))
        << narrow(tip);
    const unsigned long pid = service.native_pid();
    choose_window_menu_command(window, layout, main_layout::stop_node);
    const std::wstring said = answer_next_box(program->id(), press_ok);
    EXPECT_NE(said.find(L"The service asked the node to stop over its RPC"), std::wstring::npos)
        << narrow(said);
    ASSERT_TRUE(wait_until([&] { return !service.native_runs(pid); }, 60s));
    EXPECT_TRUE(wait_until([&] { return text(label) == L"!!! DAEMON STOPPED !!!"; }, 10s));
    EXPECT_TRUE(service.history_holds("it is left stopped.", 30s)) << service.history();
    EXPECT_FALSE(wait_until([&] { return service.native_runs(service.native_pid()); }, 3s));

    // Started again, then handed back: the tick cleared, the service gone, the node running.
    ASSERT_TRUE(close_and_wait(window, *program));
    ASSERT_FALSE(manager.stop_with(this_service(), SERVICE_CONTROL_STOP, 30'000));
    ASSERT_NO_FATAL_FAILURE(start_the_service());
    const unsigned long running = service.native_pid();
    window = start_zv_kob(program);
    ASSERT_NE(window, nullptr);
    label = control(window, layout, main_layout::daemon_status);
    ASSERT_TRUE(wait_until([&] { return text(label) == L"!!! DAEMON RUNNING !!!"; }, 20s));
    choose_window_menu_command(window, layout, main_layout::before_sign_in);
    const std::wstring removed = answer_next_box(program->id(), press_ok);
    EXPECT_NE(removed.find(L"The service is gone. The node is left running"), std::wstring::npos)
        << narrow(removed) << service.history();
    EXPECT_FALSE(manager.state(this_service()));
    EXPECT_TRUE(service.native_runs(running));
    EXPECT_TRUE(service.history_holds("handed back by the service", 20s)) << service.history();
    EXPECT_TRUE(wait_until([&] { return text(label) == L"!!! DAEMON RUNNING !!!"; }, 10s));
    std::cout << "The history:\n" << service.history() << std::flush;
}

}  // namespace
}  // namespace zvkob::e2e
