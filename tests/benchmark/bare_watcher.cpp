// The yardstick for what ZV-KOB costs while it watches: a bare Win32 program
// that does only what watching needs. A window, a 500 ms timer, and at each
// tick two process queries (SELECT Name FROM Win32_Process WHERE Name='...'),
// each over a connection of its own as ZV-KOB's are. Its one line of text
// tells what the last tick found: "<first> running, <second> stopped".
//   bare_watcher FIRST_IMAGE_NAME SECOND_IMAGE_NAME
// Built with ZVKOB_SHAPED_WATCHER it is the yardstick of ZV-KOB's shape
// (shaped_watcher): ZV-KOB's manifest, and a window with the main window's
// controls, of the same classes, styles and places, made from its table; the
// line is the first program's status label.
#include <windows.h>
#include <wbemidl.h>

#include <cstdlib>
#include <string>

#ifdef ZVKOB_SHAPED_WATCHER
#include "core/window_placement.hpp"
#include "main_window/main_window_layout.hpp"
#include "platform/win32/windows/control_styles.hpp"
#include "platform/win32/windows/control_windows.hpp"
#include "platform/win32/wide_text.hpp"
#endif

namespace {

#ifdef ZVKOB_SHAPED_WATCHER
constexpr wchar_t caption[] = L"shaped watcher";
constexpr DWORD window_style =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int window_width = 330;
constexpr int window_height = 240;
#else
constexpr wchar_t caption[] = L"bare watcher";
constexpr DWORD window_style = WS_OVERLAPPEDWINDOW;
constexpr int window_width = 400;
constexpr int window_height = 120;
#endif
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

#ifdef ZVKOB_SHAPED_WATCHER
// Creates the main window's controls; returns the one that shows the line.
HWND add_controls(HWND window, HINSTANCE instance) {
    using namespace zvkob;
    const UINT dpi = GetDpiForWindow(window);
    const auto pixels = [dpi](int twips) { return twips_to_pixels(twips, dpi); };
    const WindowSpec& layout = main_window_layout();
    HWND status = nullptr;
    for (std::size_t index = 0; index < layout.controls.size(); ++index) {
        const ControlSpec& design = *layout.controls[index];
        const HWND child = CreateWindowExW(
            design.kind == ControlKind::text_box ? WS_EX_CLIENTEDGE : 0,
            win32::control_class(design.kind), win32::widen(design.caption).c_str(),
            win32::control_style(design), pixels(design.rect.left), pixels(design.rect.top),
            pixels(design.rect.width), pixels(design.rect.height), window,
            reinterpret_cast<HMENU>(
                static_cast<INT_PTR>(win32::first_control_id + static_cast<int>(index))),
            instance, nullptr);
        if (&design == &main_layout::qt_status) {
            status = child;
        }
    }
    return status;
}
#else
HWND add_controls(HWND window, HINSTANCE instance) {
    return CreateWindowExW(0, L"STATIC", L"not watching yet", WS_CHILD | WS_VISIBLE, 10, 10, 360,
                           40, window, nullptr, instance, nullptr);
}
#endif

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
    HWND window = CreateWindowExW(0, kind.lpszClassName, caption, window_style, 100, 100,
                                  window_width, window_height, nullptr, nullptr, instance, nullptr);
    line = add_controls(window, instance);
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
