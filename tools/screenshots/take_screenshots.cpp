// Renders the pictures of the user's guide: the real ZV-KOB.exe in the states
// a user meets, photographed from the screen into BMP files. Run on wine's
// virtual desktop so that the windows have their title bars (see
// scripts/screenshots.sh, which turns the files into PNG).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "driver.hpp"
#include "main_window/main_window_layout.hpp"
#include "settings_window/settings_window_layout.hpp"

namespace zvkob::e2e {
namespace {

const WindowSpec& main_table = main_window_layout();

// Saves an area of the screen as it is.
bool capture_area(const RECT& rect, const std::wstring& bmp_path) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, previous);

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const int stride = ((width * 3 + 3) / 4) * 4;
    std::vector<char> pixels(static_cast<std::size_t>(stride * height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(pixels.data(), pixels.size());
    write_file(bmp_path, bytes);
    std::printf("%s %dx%d\n", narrow(bmp_path).c_str(), width, height);
    return true;
}

// Saves the window, frame and all, as it is on screen.
bool capture(HWND window, const std::wstring& bmp_path) {
    return capture_area(window_rect(window), bmp_path);
}

HWND start_main_window(Process& program) {
    HWND window = wait_for_window(program.id(), main_caption);
    if (window == nullptr) {
        throw std::runtime_error("ZV-KOB's window did not appear");
    }
    SetForegroundWindow(window);
    return window;
}

bool shows(HWND window, const ControlSpec& design, COLORREF colour) {
    return colour_on_screen(control(window, main_table, design)) == colour;
}

void close_program(Process& program, HWND window) {
    close(window);
    program.wait_for_exit(10s);
}

// As a user first meets it: nothing chosen, the watcher has looked once.
void main_window_at_rest(const std::wstring& folder) {
    delete_section(L"ZV-KOB");
    Process program(zv_kob_exe());
    HWND window = start_main_window(program);
    wait_until([&] { return shows(window, main_layout::qt_status, red); }, 10s);
    capture(window, folder + L"\\main-window.png.bmp");
    close_program(program, window);
}

// The wallet program runs: its label is green and LAUNCH is disabled.
void main_window_watching(const std::wstring& folder) {
    ScratchFolder node(L"screenshot-node");
    copy_file(stand_in_node_exe(), node.file(L"bitcoin-qt.exe"));
    Process wallet(node.file(L"bitcoin-qt.exe"));
    delete_section(L"ZV-KOB");
    write_setting(L"ZV-KOB", L"QT_NAME_TEXTBOX", L"bitcoin-qt.exe");
    write_setting(L"ZV-KOB", L"DAEMOND_NAME_TEXTBOX", L"bitcoind.exe");
    write_setting(L"ZV-KOB", L"USE_QT_BAT_TICKBOX", L"1");
    Process program(zv_kob_exe());
    HWND window = start_main_window(program);
    wait_until([&] { return shows(window, main_layout::qt_status, green); }, 10s);
    capture(window, folder + L"\\main-window-running.png.bmp");
    close_program(program, window);
}

// The node catching up, and the status label's tooltip saying how far it is,
// from what the node answers over its RPC.
void main_window_catching_up(const std::wstring& folder) {
    ScratchFolder node(L"screenshot-sync");
    copy_file(stand_in_node_exe(), node.file(L"bitcoin-qt.exe"));
    write_file(node.file(L"ZVKOB-QT.BAT"), "call \"" + narrow(node.file(L"bitcoin-qt.exe")) +
                                               "\" -datadir=\"" + narrow(node.path()) +
                                               "\" -server --rpc -rpcport=28499"
                                               " --sync=812000-927012\r\n");
    delete_section(L"ZV-KOB");
    write_setting(L"ZV-KOB", L"QT_NAME_TEXTBOX", L"bitcoin-qt.exe");
    write_setting(L"ZV-KOB", L"DAEMOND_NAME_TEXTBOX", L"bitcoind.exe");
    write_setting(L"ZV-KOB", L"USE_QT_BAT_TICKBOX", L"1");
    write_setting(L"ZV-KOB", L"BAT_QT_RUN_COMMAND_TEXTBOX", node.file(L"ZVKOB-QT.BAT"));
    Process program(zv_kob_exe());
    HWND window = start_main_window(program);
    HWND label = control(window, main_table, main_layout::qt_status);
    wait_until([&] { return shows(window, main_layout::qt_status, red); }, 10s);
    click(control(window, main_table, main_layout::launch_button));
    wait_until([&] { return shows(window, main_layout::qt_status, green); }, 15s);
    wait_until(
        [&] {
            const std::wstring said = tooltip_of(label);
            return said.find(L"Catching up") == 0 && said.find(L"From the node's RPC") != said.npos;
        },
        30s);
    hover_over(label);
    HWND tip = nullptr;
    wait_until(
        [&] {
            return (tip = FindWindowW(L"tooltips_class32", nullptr)) != nullptr &&
                   IsWindowVisible(tip);
        },
        5s);
    RECT area = window_rect(window);
    if (tip != nullptr) {
        const RECT shown = window_rect(tip);
        UnionRect(&area, &area, &shown);
    }
    capture_area(area, folder + L"\\main-window-catching-up.png.bmp");
    kill_processes(L"bitcoin-qt.exe");
    close_program(program, window);
    delete_section(L"ZV-KOB");
}

// The window menu open, with ZV-KOB's own commands below the system's.
void window_menu(const std::wstring& folder) {
    delete_section(L"ZV-KOB");
    write_setting(L"ZV-KOB", L"KEEP_NODE_RUNNING", L"1");
    Process program(zv_kob_exe());
    HWND window = start_main_window(program);
    wait_until([&] { return shows(window, main_layout::qt_status, red); }, 10s);
    PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, VK_SPACE);
    HWND menu = nullptr;
    wait_until(
        [&] {
            return (menu = FindWindowW(L"#32768", nullptr)) != nullptr && IsWindowVisible(menu);
        },
        5s);
    if (menu != nullptr) {
        RECT area = window_rect(window);
        const RECT shown = window_rect(menu);
        UnionRect(&area, &area, &shown);
        capture_area(area, folder + L"\\window-menu.png.bmp");
    }
    PostMessageW(window, WM_CANCELMODE, 0, 0);
    close_program(program, window);
    delete_section(L"ZV-KOB");
}

// The settings window filled in as in the guide's example, wallet on.
void settings_window_filled_in(const std::wstring& folder) {
    delete_section(L"ZV-KOB");
    Process program(zv_kob_exe());
    HWND main = start_main_window(program);
    click(control(main, main_table, main_layout::settings_button));
    HWND settings = wait_for_window(program.id(), settings_caption);
    if (settings == nullptr) {
        throw std::runtime_error("the settings window did not appear");
    }
    const auto field = [settings](const ControlSpec& design) {
        return control(settings, settings_window_layout(), design);
    };
    type(field(settings_layout::program_folder), L"C:\\TARLOWEN\\ZV-KOB");
    type_worked_example(settings);
    click(field(settings_layout::wallet));
    wait_until([&] { return text(field(settings_layout::daemon_run_command)).ends_with(L"=0"); },
               5s);
    wait_until([&] { return colour_on_screen(field(settings_layout::title)) == black; }, 5s);
    capture(settings, folder + L"\\settings-window.png.bmp");
    close(settings);
    wait_until([&] { return !IsWindow(settings); }, 5s);
    close_program(program, main);
}

}  // namespace
}  // namespace zvkob::e2e

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: take_screenshots <output folder>\n");
        return 2;
    }
    try {
        zvkob::e2e::main_window_at_rest(argv[1]);
        zvkob::e2e::main_window_watching(argv[1]);
        zvkob::e2e::settings_window_filled_in(argv[1]);
        zvkob::e2e::window_menu(argv[1]);
        zvkob::e2e::main_window_catching_up(argv[1]);
        zvkob::e2e::delete_section(L"ZV-KOB");
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "screenshots failed: %s\n", failure.what());
        return 1;
    }
    return 0;
}
