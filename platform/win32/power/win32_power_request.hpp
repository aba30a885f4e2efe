#pragma once
#include <windows.h>

#include <string>

#include "platform/power_request.hpp"

namespace zvkob::win32 {

// The calls that keep the PC awake, taken from kernel32 when first needed
// (a tick off by default uses them); a test hands in its own.
struct PowerFunctions {
    decltype(&PowerCreateRequest) create_request = nullptr;  // null where Windows lacks it
    decltype(&PowerSetRequest) set_request = nullptr;
    decltype(&PowerClearRequest) clear_request = nullptr;
    decltype(&CloseHandle) close_handle = nullptr;
    decltype(&SetThreadExecutionState) set_thread_state = nullptr;
};

PowerFunctions kernel32_power_functions();

// A power request that keeps the system (never the display) awake, with a
// reason that names ZV-KOB. Where Windows has no power requests (wine 8
// answers ERROR_CALL_NOT_IMPLEMENTED) the calling thread's execution state
// does it instead: that state belongs to the thread, so hold and let go on
// the window's thread. Windows lets go of both when the process ends,
// however it ends.
class Win32PowerRequest : public PowerRequest {
public:
    explicit Win32PowerRequest(PowerFunctions functions = kernel32_power_functions())
        : functions_(functions) {}
    ~Win32PowerRequest() override { let_go(); }
    Win32PowerRequest(const Win32PowerRequest&) = delete;
    Win32PowerRequest& operator=(const Win32PowerRequest&) = delete;

    AwakeHold hold(std::string_view reason) override;
    void let_go() override;
    bool holding() const override { return means_ != AwakeMeans::none; }

private:
    // A new power request set with the reason, or null (`error` set) when
    // Windows refused it.
    HANDLE new_request(const std::string& reason, DWORD& error);
    void clear(HANDLE request);
    AwakeHold hold_thread_state();

    PowerFunctions functions_;
    AwakeMeans means_ = AwakeMeans::none;
    HANDLE request_ = nullptr;
    std::string reason_;
    bool requests_missing_ = false;
};

}  // namespace zvkob::win32
