// The PC's power, the link's cost and the node's priority over the real
// Win32 under wine, and the exact calls where wine hides what Windows does.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

#include "core/power/metered_pause.hpp"
#include "driver.hpp"
#include "platform/win32/processes/com_apartment.hpp"
#include "platform/win32/network/win32_link_cost.hpp"
#include "platform/win32/win32_clock.hpp"
#include "platform/win32/processes/win32_node_control.hpp"
#include "platform/win32/power/win32_power_source.hpp"
#include "platform/win32/processes/win32_process_priority.hpp"
#include "platform/win32/files/win32_record_writer.hpp"
#include "platform/win32/files/win32_file_system.hpp"
#include "platform/win32/owners.hpp"

namespace zvkob::win32 {
namespace {

using namespace zvkob::e2e;

SYSTEM_POWER_STATUS status(BYTE line, BYTE flag, BYTE percent, DWORD seconds_left) {
    SYSTEM_POWER_STATUS s{};
    s.ACLineStatus = line;
    s.BatteryFlag = flag;
    s.BatteryLifePercent = percent;
    s.BatteryLifeTime = seconds_left;
    return s;
}

TEST(PowerStatus, ReadsAsTheRulesNeedIt) {
    struct Case {
        const char* name;
        SYSTEM_POWER_STATUS status;
        PowerLine line;
        bool present, charging, critical;
        std::optional<int> percent;
        std::optional<std::int64_t> seconds_left;
    };
    const DWORD unknown_time = static_cast<DWORD>(-1);
    const Case cases[] = {
        {"no battery",
         status(0, 128, 255, unknown_time),
         PowerLine::battery,
         false,
         false,
         false,
         {},
         {}},
        {"discharging", status(0, 2, 20, 600), PowerLine::battery, true, false, false, 20, 600},
        {"critical", status(0, 2 | 4, 3, 120), PowerLine::battery, true, false, true, 3, 120},
        {"charging",
         status(1, 1 | 8, 70, unknown_time),
         PowerLine::mains,
         true,
         true,
         false,
         70,
         {}},
        {"flags unknown",
         status(255, 255, 255, unknown_time),
         PowerLine::unknown,
         true,
         false,
         false,
         {},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PowerReading r = reading_of(c.status);
        EXPECT_EQ(r.line, c.line);
        EXPECT_EQ(r.battery_present, c.present);
        EXPECT_EQ(r.charging, c.charging);
        EXPECT_EQ(r.critical, c.critical);
        EXPECT_EQ(r.percent, c.percent);
        EXPECT_EQ(r.seconds_left, c.seconds_left);
    }
}

// A power setting broadcast as Windows lays it out: the GUID, its length, its value.
LPARAM setting(std::vector<BYTE>& buffer, const GUID& guid, DWORD value) {
    buffer.assign(sizeof(POWERBROADCAST_SETTING) + sizeof value, 0);
    auto* broadcast = reinterpret_cast<POWERBROADCAST_SETTING*>(buffer.data());
    broadcast->PowerSetting = guid;
    broadcast->DataLength = sizeof value;
    std::memcpy(broadcast->Data, &value, sizeof value);
    return reinterpret_cast<LPARAM>(buffer.data());
}

TEST(PowerStatus, BroadcastsTellWhatChanged) {
    using Kind = PowerEvent::Kind;
    std::vector<BYTE> buffer;
    EXPECT_EQ(power_event_of(PBT_APMPOWERSTATUSCHANGE, 0).kind, Kind::status_changed);
    EXPECT_EQ(power_event_of(PBT_APMSUSPEND, 0).kind, Kind::suspending);
    EXPECT_EQ(power_event_of(PBT_APMRESUMEAUTOMATIC, 0).kind, Kind::resumed);
    EXPECT_EQ(power_event_of(PBT_APMRESUMESUSPEND, 0).kind, Kind::resumed);
    EXPECT_EQ(power_event_of(PBT_POWERSETTINGCHANGE, 0).kind, Kind::other);
    const std::pair<DWORD, PowerLine> sources[] = {
        {0, PowerLine::mains}, {1, PowerLine::battery}, {2, PowerLine::battery}};  // 2: a UPS
    for (const auto& [value, line] : sources) {
        const PowerEvent event =
            power_event_of(PBT_POWERSETTINGCHANGE, setting(buffer, GUID_ACDC_POWER_SOURCE, value));
        EXPECT_EQ(event.kind, Kind::line_changed);
        EXPECT_EQ(event.line, line) << value;
    }
    const PowerEvent charge = power_event_of(
        PBT_POWERSETTINGCHANGE, setting(buffer, GUID_BATTERY_PERCENTAGE_REMAINING, 62));
    EXPECT_EQ(charge.kind, Kind::percent_changed);
    EXPECT_EQ(charge.percent, 62);
    EXPECT_EQ(
        power_event_of(PBT_POWERSETTINGCHANGE, setting(buffer, GUID_LIDSWITCH_STATE_CHANGE, 1))
            .kind,
        Kind::other);
}

// Registered on a real window and let go with it; these machines have no battery.
TEST(PowerStatus, RegistersOnAWindowAndReadsThePC) {
    const HWND window = CreateWindowExW(0, L"STATIC", L"power", 0, 0, 0, 10, 10, HWND_MESSAGE,
                                        nullptr, nullptr, nullptr);
    {
        const PowerSettingNotifications notifications(window);
        EXPECT_EQ(notifications.failure(), "");
    }
    DestroyWindow(window);
    if (std::getenv("ZVKOB_FAKE_BATTERY") == nullptr) {
        Win32PowerSource source;
        const auto reading = source.read();
        ASSERT_TRUE(reading) << source.failure();
        EXPECT_EQ(reading->line, PowerLine::mains);
        EXPECT_FALSE(reading->battery_present);
    }
}

// The made-up battery of tests/support/fake_battery.sh, written as the PC
// runs: 5 Ah at 12 V; the time left is what is charged over what flows.
void supply(const char* file, std::string_view value) {
    write_file(windows_path(std::string(std::getenv("ZVKOB_FAKE_BATTERY")) + "/" + file),
               std::string(value) + "\n");
}

void battery(const char* online, const char* state, const char* charge_uah,
             const char* current_ua) {
    supply("AC/online", online);
    supply("BAT0/status", state);
    supply("BAT0/charge_now", charge_uah);
    supply("BAT0/current_now", current_ua);
}

TEST(FakeBattery, WineReadsItDischargingThenCriticalThenChargingOnMains) {
    if (std::getenv("ZVKOB_FAKE_BATTERY") == nullptr) {
        GTEST_SKIP() << "runs under tests/support/fake_battery.sh";
    }
    struct Step {
        const char* name;
        const char *online, *state, *charge_uah, *current_ua;
        PowerReading expected;
    };
    const Step steps[] = {
        {"30 minutes left",
         "0",
         "Discharging",
         "3000000",
         "6000000",
         {PowerLine::battery, true, false, false, 60, 1800}},
        {"4 minutes left",
         "0",
         "Discharging",
         "400000",
         "6000000",
         {PowerLine::battery, true, false, false, 8, 240}},
        {"1 minute left",
         "0",
         "Discharging",
         "100000",
         "6000000",
         {PowerLine::battery, true, false, true, 2, 60}},
        {"charging on mains",
         "1",
         "Charging",
         "1000000",
         "2000000",
         {PowerLine::mains, true, true, false, 20, std::nullopt}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        battery(step.online, step.state, step.charge_uah, step.current_ua);
        SYSTEM_POWER_STATUS status{};
        ASSERT_TRUE(GetSystemPowerStatus(&status));
        std::cout << step.name << ": ACLineStatus " << int{status.ACLineStatus} << ", BatteryFlag "
                  << int{status.BatteryFlag} << ", BatteryLifePercent "
                  << int{status.BatteryLifePercent} << ", BatteryLifeTime "
                  << static_cast<long>(status.BatteryLifeTime) << "\n";
        const PowerReading read = reading_of(status);
        const PowerReading& expected = step.expected;
        EXPECT_EQ(read.line, expected.line);
        EXPECT_EQ(read.battery_present, expected.battery_present);
        EXPECT_EQ(read.charging, expected.charging);
        EXPECT_EQ(read.critical, expected.critical);
        EXPECT_EQ(read.percent, expected.percent);
        EXPECT_EQ(read.seconds_left, expected.seconds_left);
    }
}

// The record of the node's stops is replaced whole; one held by another
// program is there but unreadable, which is not the same as not there.
TEST(StopRecord, IsReplacedWholeAndReadBack) {
    ScratchFolder folder(L"stop record");
    const std::string path = narrow(folder.file(L"ZV-KOB.node-stops"));
    Win32RecordWriter writer;
    Win32FileSystem files;
    EXPECT_TRUE(writer.replace_whole(path, "1 60000 900.0\n"));
    EXPECT_TRUE(writer.replace_whole(path, "2 5000 -\n"));
    EXPECT_EQ(files.read_text(path, TextCoding::utf8), "2 5000 -\n");
    EXPECT_EQ(files.read_own_file(path).text, "2 5000 -\n");
    EXPECT_FALSE(writer.replace_whole(narrow(folder.file(L"no folder\\x.node-stops")), "x"));
    {
        const KernelHandle held =
            file_handle(CreateFileW(folder.file(L"ZV-KOB.node-stops").c_str(), GENERIC_READ, 0,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        const OwnFile unread = files.read_own_file(path);
        EXPECT_FALSE(unread.text);
        EXPECT_FALSE(unread.failure.empty()) << "there, but held";
    }
    EXPECT_TRUE(writer.remove(path));
    EXPECT_TRUE(writer.remove(path)) << "removed already";
    const OwnFile gone = files.read_own_file(path);
    EXPECT_TRUE(!gone.text && gone.failure.empty()) << "not there";
}

// Wine's network list is a stub that always answers unrestricted.
TEST(LinkCost, IsReadOnDemandAndWatched) {
    const ComApartment com;
    Win32LinkCost link;
    const LinkCostReading reading = link.read();
    ASSERT_TRUE(reading.cost) << reading.failure;
    EXPECT_EQ(*reading.cost, link_cost::unrestricted);
    const Outcome watched = link.watch([] {});
    std::cout << "watching the link's cost: " << (watched ? "advised" : watched.reason()) << "\n";
}

// What setting a priority asks of Windows, through a stand-in function table.
std::vector<std::string> priority_calls;
FILETIME process_created{1000, 0};
NTSTATUS io_answer = 0;

PriorityFunctions stand_in_priority() {
    priority_calls.clear();
    PriorityFunctions functions;
    functions.open_process = [](DWORD access, BOOL, DWORD id) -> HANDLE {
        priority_calls.push_back("open " + std::to_string(access) + " " + std::to_string(id));
        return reinterpret_cast<HANDLE>(0x50);
    };
    functions.process_times = [](HANDLE, FILETIME* created, FILETIME*, FILETIME*,
                                 FILETIME*) -> BOOL {
        *created = process_created;
        return TRUE;
    };
    functions.set_class = [](HANDLE, DWORD priority_class) -> BOOL {
        priority_calls.push_back("class " + std::to_string(priority_class));
        return TRUE;
    };
    functions.set_information = [](HANDLE, PROCESSINFOCLASS kind, PVOID value,
                                   ULONG size) -> NTSTATUS {
        priority_calls.push_back("information " + std::to_string(kind) + " " +
                                 std::to_string(*static_cast<ULONG*>(value)) + " size " +
                                 std::to_string(size));
        return io_answer;
    };
    functions.close_handle = [](HANDLE) -> BOOL {
        priority_calls.push_back("close");
        return TRUE;
    };
    return functions;
}

class HeldStandIn : public HeldProcess {
public:
    explicit HeldStandIn(std::int64_t created_ms) : created_ms_(created_ms) {}
    unsigned long id() const override { return 4711; }
    std::int64_t created_ms() const override { return created_ms_; }
    std::optional<ProcessEnd> end() override { return std::nullopt; }

private:
    std::int64_t created_ms_;
};

TEST(ProcessPriority, SetsTheClassAndTheIoPriorityOnTheVeryProcessHeld) {
    const HeldStandIn held(milliseconds_of(process_created));
    io_answer = 0;
    Win32ProcessPriority priority(stand_in_priority());
    const PrioritySet low = priority.set(held, NodePriority::low);
    EXPECT_TRUE(low.cpu && low.io);
    priority.set(held, NodePriority::normal);
    const std::vector<std::string> expected = {
        "open 4608 4711",           // PROCESS_SET_INFORMATION | PROCESS_QUERY_LIMITED_INFORMATION
        "class 16384",              // BELOW_NORMAL_PRIORITY_CLASS
        "information 33 1 size 4",  // ProcessIoPriority: low
        "close",
        "open 4608 4711",
        "class 32",  // NORMAL_PRIORITY_CLASS
        "information 33 2 size 4",
        "close"};
    EXPECT_EQ(priority_calls, expected);

    io_answer = static_cast<NTSTATUS>(0xC0000003);
    const PrioritySet refused =
        Win32ProcessPriority(stand_in_priority()).set(held, NodePriority::low);
    EXPECT_TRUE(refused.cpu);
    EXPECT_EQ(refused.io.reason(), "the system answered 0xC0000003");

    const HeldStandIn reused(milliseconds_of(process_created) + 1);
    const PrioritySet other =
        Win32ProcessPriority(stand_in_priority()).set(reused, NodePriority::low);
    EXPECT_EQ(other.cpu.reason(), "the process has ended");
    EXPECT_EQ(priority_calls, (std::vector<std::string>{"open 4608 4711", "close"}))
        << "a process that took the number since is not touched";
}

// The node started as ZV-KOB starts it, its interpreter created at
// below-normal priority; the class and I/O priority then set on its handle
// and read back.
TEST(ProcessPriority, TheNodesClassIsSetAndReadBackUnderWine) {
    ScratchFolder folder(L"node priority");
    const std::wstring node = folder.file(L"zv-priority-node.exe");
    copy_file(stand_in_console_node_exe(), node);
    write_file(folder.file(L"node.bat"), "call \"" + narrow(node) + "\"\r\n");
    std::wstring command = L"cmd.exe /d /s /c \"\"" + folder.file(L"node.bat") + L"\"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                               CREATE_NEW_CONSOLE | BELOW_NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                               &startup, &started));
    const KernelHandle interpreter(started.hProcess);
    const KernelHandle thread(started.hThread);
    Win32NodeControl nodes;
    ProcessList listed;
    ASSERT_TRUE(wait_until(
        [&] {
            return (listed = nodes.processes_named("zv-priority-node.exe")).processes.size() == 1;
        },
        10s));
    const DWORD node_id = listed.processes[0].id;
    std::cout << "created below normal: interpreter class "
              << read_priority(started.dwProcessId).priority_class << ", node class "
              << read_priority(node_id).priority_class << "\n";
    const Holding held = nodes.hold(node_id);
    ASSERT_NE(held.process, nullptr) << held.failure;

    Win32ProcessPriority priority;
    const PrioritySet low = priority.set(*held.process, NodePriority::low);
    EXPECT_TRUE(low.cpu) << low.cpu.reason();
    const PriorityReading lowered = read_priority(node_id);
    EXPECT_EQ(lowered.priority_class, static_cast<DWORD>(BELOW_NORMAL_PRIORITY_CLASS));
    std::cout << "set low: I/O " << (low.io ? "set" : low.io.reason()) << "; read back: class "
              << lowered.priority_class << ", I/O "
              << (lowered.io_priority ? std::to_string(*lowered.io_priority) : lowered.failure)
              << "\n";
    const PrioritySet normal = priority.set(*held.process, NodePriority::normal);
    EXPECT_TRUE(normal.cpu) << normal.cpu.reason();
    const PriorityReading restored = read_priority(node_id);
    EXPECT_EQ(restored.priority_class, static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
    std::cout << "set normal: I/O " << (normal.io ? "set" : normal.io.reason())
              << "; read back: class " << restored.priority_class << ", I/O "
              << (restored.io_priority ? std::to_string(*restored.io_priority) : restored.failure)
              << "\n";
    kill_processes(L"zv-priority-node.exe");
    TerminateProcess(interpreter.get(), 0);
}

}  // namespace
}  // namespace zvkob::win32
