// The yardstick for what ZV-KOB costs while it watches: a bare Win32 program
// that does only what watching needs. A window, a 500 ms timer, and at each
// tick two process queries (SELECT Name FROM Win32_Process WHERE Name='...'),
// each over a connection of its own as ZV-KOB's are. Its one line of text
// tells what the last tick found: "<first> running, <second> stopped".
//   bare_watcher FIRST_IMAGE_NAME SECOND_IMAGE_NAME
#include <windows.h>
#include <wbemidl.h>

#include <cstdlib>
#include <string>

namespace {

constexpr wchar_t caption[] = L"bare watcher";
constexpr UINT_PTR tick_timer = 1;

std::wstring first_name;
std::wstring second_name;
HWND line = nullptr;

template <typename Interface>
void release(Interface*& pointer) {
    if (pointer != nullptr) {
        pointer->Release();
        pointer = nullptr;
    }
}

bool runs(const std::wstring& image_name) {
    IWbemLocator* locator = nullptr;
    IWbemServices* services = nullptr;
    IEnumWbemClassObject* matches = nullptr;
    IWbemClassObject* match = nullptr;
    ULONG returned = 0;
    BSTR space = SysAllocString(L"ROOT\\CIMV2");
    BSTR language = SysAllocString(L"WQL");
    const std::wstring text = L"SELECT Name FROM Win32_Process WHERE Name='" + image_name + L"'";
    BSTR query = SysAllocString(text.c_str());
    if (SUCCEEDED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWbemLocator, reinterpret_cast<void**>(&locator))) &&
        SUCCEEDED(locator->ConnectServer(space, nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                         &services)) &&
        SUCCEEDED(services->ExecQuery(language, query,
                                      WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                      nullptr, &matches))) {
        matches->Next(5000, 1, &match, &returned);
    }
    release(match);
    release(matches);
    release(services);
    release(locator);
    SysFreeString(query);
    SysFreeString(language);
    SysFreeString(space);
    return returned == 1;
}

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_TIMER: {
            const auto state = [](const std::wstring& name) {
                return name + (runs(name) ? L" running" : L" stopped");
            };
            SetWindowTextW(line, (state(first_name) + L", " + state(second_name)).c_str());
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wparam, lparam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    if (__argc < 3) {
        return 2;
    }
    first_name = __wargv[1];
    second_name = __wargv[2];
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                         RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    WNDCLASSW kind{};
    kind.lpfnWndProc = window_procedure;
    kind.hInstance = instance;
    kind.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    kind.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    kind.lpszClassName = L"BareWatcher";
    RegisterClassW(&kind);
    HWND window = CreateWindowExW(0, kind.lpszClassName, caption, WS_OVERLAPPEDWINDOW, 100, 100,
                                  400, 120, nullptr, nullptr, instance, nullptr);
    line = CreateWindowExW(0, L"STATIC", L"not watching yet", WS_CHILD | WS_VISIBLE, 10, 10, 360,
                           40, window, nullptr, instance, nullptr);
    SetTimer(window, tick_timer, 500, nullptr);
    ShowWindow(window, show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    CoUninitialize();
    return 0;
}
