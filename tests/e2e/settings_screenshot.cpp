// Opens ZV-KOB's settings window filled with the worked example, for the
// picture in docs/settings-window.png. Not a test: it signals "<folder>\ready"
// once the window shows the composed run commands, waits for "<folder>\done"
// (a minute at most), then closes ZV-KOB. From the build folder, with wine's
// virtual desktop so that windows get their title bars:
//
//   xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
//     mkdir -p /tmp/shot && rm -f /tmp/shot/*
//     ./wine-run.sh explorer /desktop=ZV-KOB,1000x650 tests/e2e/zvkob_settings_screenshot.exe 'Z:\tmp\shot' &
//     while [ ! -f /tmp/shot/ready ]; do sleep 1; done
//     import -window root -crop 823x466+59+59 +repage ../../docs/settings-window.png
//     touch /tmp/shot/done; wait'
#include <windows.h>

#include "driver.hpp"
#include "main_window/main_window_layout.hpp"
#include "settings_window/settings_window_layout.hpp"

using namespace zvkob;
using namespace zvkob::e2e;

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        return 2;
    }
    const std::wstring folder = argv[1];
    delete_section(L"ZV-KOB");
    Process program(zv_kob_exe());
    HWND main = wait_for_window(program.id(), L"TARLOWEN - ZV-KOB - ZV-KOB");
    if (main == nullptr) {
        return 1;
    }
    click(control(main, main_window_layout(), "SETTINGS_BUTTON"));
    HWND settings = wait_for_window(program.id(), L"TARLOWEN - ZV-KOB - SETTINGS");
    if (settings == nullptr) {
        return 1;
    }
    const auto field = [settings](std::string_view name) {
        return control(settings, settings_window_layout(), name);
    };
    type(field("ZV_KOB_LOCATION_TEXTBOX"), L"C:\\TARLOWEN\\ZV-KOB");
    type(field("CONF_LOCATION_TEXTBOX"), L"C:\\BC-CONF\\BTC\\bitcoin.conf");
    type(field("BLOCKCHAIN_FOLDER_TEXTBOX"), L"C:\\BC-ROOT\\BTC-BC");
    type(field("QT_LOCATION_TEXTBOX"), L"C:\\Program Files\\Bitcoin");
    type(field("DAEMON_LOCATION_TEXTBOX"), L"C:\\Program Files\\Bitcoin\\Daemon");
    type(field("QT_NAME_TEXTBOX"), L"bitcoin-qt.exe");
    type(field("DAEMOND_NAME_TEXTBOX"), L"bitcoind.exe");
    click(field("WALLET_TICKBOX"));
    wait_until([&] { return text(field("ZV_D_COMMAND_TEXTBOX")).ends_with(L"=0"); }, 5s);
    write_file(folder + L"\\ready", "");
    wait_until([&] { return file_exists(folder + L"\\done"); }, 60s);
    close(settings);
    close(main);
    program.wait_for_exit(10s);
    delete_section(L"ZV-KOB");
    return 0;
}
