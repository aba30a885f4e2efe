#include "platform/win32/power/win32_power_request.hpp"

#include "platform/win32/system_library.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {

PowerFunctions kernel32_power_functions() {
    static SystemLibrary kernel32(L"kernel32.dll");
    PowerFunctions functions;
    if (kernel32.load()) {
        functions.create_request =
            kernel32.function<decltype(functions.create_request)>("PowerCreateRequest");
        functions.set_request =
            kernel32.function<decltype(functions.set_request)>("PowerSetRequest");
        functions.clear_request =
            kernel32.function<decltype(functions.clear_request)>("PowerClearRequest");
    }
    functions.close_handle = CloseHandle;
    functions.set_thread_state = SetThreadExecutionState;
    return functions;
}

HANDLE Win32PowerRequest::new_request(const std::string& reason, DWORD& error) {
    std::wstring text = widen(reason);
    REASON_CONTEXT context{};
    context.Version = POWER_REQUEST_CONTEXT_VERSION;
    context.Flags = POWER_REQUEST_CONTEXT_SIMPLE_STRING;
    context.Reason.SimpleReasonString = text.data();
    const HANDLE request = functions_.create_request(&context);
    if (request == INVALID_HANDLE_VALUE || request == nullptr) {
        error = GetLastError();
        return nullptr;
    }
    if (!functions_.set_request(request, PowerRequestSystemRequired)) {
        error = GetLastError();
        functions_.close_handle(request);
        return nullptr;
    }
    return request;
}

void Win32PowerRequest::clear(HANDLE request) {
    functions_.clear_request(request, PowerRequestSystemRequired);
    functions_.close_handle(request);
}

// The system only: a PC kept awake for a sync need not keep its screen lit.
AwakeHold Win32PowerRequest::hold_thread_state() {
    if (means_ != AwakeMeans::thread_state &&
        functions_.set_thread_state(ES_CONTINUOUS | ES_SYSTEM_REQUIRED) == 0) {
        return {AwakeMeans::none,
                "Windows refused to keep the system awake: " + system_error_text(GetLastError())};
    }
    means_ = AwakeMeans::thread_state;
    return {means_, {}};
}

AwakeHold Win32PowerRequest::hold(std::string_view reason) {
    if (means_ == AwakeMeans::thread_state ||
        (means_ == AwakeMeans::power_request && reason == reason_)) {
        reason_ = reason;  // the thread's state has no reason to change
        return {means_, {}};
    }
    const bool have_requests = !requests_missing_ && functions_.create_request != nullptr &&
                               functions_.set_request != nullptr &&
                               functions_.clear_request != nullptr;
    if (!have_requests) {
        return hold_thread_state();
    }
    DWORD error = ERROR_SUCCESS;
    const HANDLE request = new_request(std::string(reason), error);
    if (request == nullptr) {
        if (error == ERROR_CALL_NOT_IMPLEMENTED) {
            requests_missing_ = true;
            let_go();
            return hold_thread_state();
        }
        if (means_ == AwakeMeans::power_request) {
            return {means_, {}};  // the request with the older reason still holds
        }
        return {AwakeMeans::none, "Windows refused the power request: " + system_error_text(error)};
    }
    // The new one is set before the old one goes: the PC is never left unheld between.
    if (request_ != nullptr) {
        clear(request_);
    }
    request_ = request;
    reason_ = reason;
    means_ = AwakeMeans::power_request;
    return {means_, {}};
}

void Win32PowerRequest::let_go() {
    if (means_ == AwakeMeans::power_request) {
        clear(request_);
        request_ = nullptr;
    } else if (means_ == AwakeMeans::thread_state) {
        functions_.set_thread_state(ES_CONTINUOUS);
    }
    means_ = AwakeMeans::none;
    reason_.clear();
}

}  // namespace zvkob::win32
