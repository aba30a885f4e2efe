#include "platform/win32/processes/wmi_query.hpp"

#include <wbemidl.h>

#include <cstdio>
#include <string>
#include <utility>

#include "platform/win32/owners.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

// How long one query may keep the window waiting for its answer.
constexpr long answer_deadline_ms = 5000;

std::string query_failure(const char* step, HRESULT result) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
    std::string why;
    switch (static_cast<unsigned long>(result)) {
        case 0x80041017UL:
            why = "the query is not valid";
            break;
        case 0x80041033UL:
            why = "the service is shutting down";
            break;
        case 0x8004100EUL:
            why = "the namespace ROOT\\CIMV2 does not exist";
            break;
        default:
            why = system_error_text(static_cast<DWORD>(result));
            break;
    }
    return std::string("The process query failed to ") + step + " (" + code + "): " + why;
}

// A property's value as text: numbers in decimal, null as empty.
std::wstring property_text(IWbemClassObject& row, const std::wstring& name) {
    VARIANT value;
    VariantInit(&value);
    std::wstring text;
    if (SUCCEEDED(row.Get(name.c_str(), 0, &value, nullptr, nullptr)) && value.vt != VT_NULL &&
        value.vt != VT_EMPTY && SUCCEEDED(VariantChangeType(&value, &value, 0, VT_BSTR))) {
        text.assign(value.bstrVal, SysStringLen(value.bstrVal));
    }
    VariantClear(&value);
    return text;
}

}  // namespace

WmiAnswer run_wmi_query(const std::wstring& query, const std::vector<std::wstring>& properties,
                        std::size_t most_rows) {
    ComRef<IWbemLocator> locator;
    HRESULT result =
        CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                         reinterpret_cast<void**>(locator.receive()));
    if (FAILED(result)) {
        return {{}, query_failure("reach the service", result)};
    }
    ComRef<IWbemServices> services;
    result = locator->ConnectServer(bstr_copy(L"ROOT\\CIMV2").get(), nullptr, nullptr, nullptr, 0,
                                    nullptr, nullptr, services.receive());
    if (FAILED(result)) {
        return {{}, query_failure("connect", result)};
    }
    CoSetProxyBlanket(services.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                      RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    ComRef<IEnumWbemClassObject> matches;
    result = services->ExecQuery(bstr_copy(L"WQL").get(), bstr_copy(query.c_str()).get(),
                                 WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                 matches.receive());
    if (FAILED(result)) {
        return {{}, query_failure("run", result)};
    }
    // A service that does not answer in time is a failure, not "no rows".
    WmiAnswer answer;
    while (answer.rows.size() < most_rows) {
        ComRef<IWbemClassObject> match;
        ULONG returned = 0;
        result = matches->Next(answer_deadline_ms, 1, match.receive(), &returned);
        if (result == WBEM_S_TIMEDOUT) {
            return {{},
                    "The process query did not answer within " +
                        std::to_string(answer_deadline_ms / 1000) + " seconds."};
        }
        if (FAILED(result)) {
            return {{}, query_failure("count the processes", result)};
        }
        if (returned == 0) {
            break;
        }
        std::vector<std::wstring> row;
        for (const std::wstring& property : properties) {
            row.push_back(property_text(*match.get(), property));
        }
        answer.rows.push_back(std::move(row));
    }
    return answer;
}

}  // namespace zvkob::win32
