#include "made_up_battery.hpp"

#include <cstdlib>
#include <string>
#include <utility>

#include "driver.hpp"

namespace zvkob::e2e {

bool battery_made_up() {
    return std::getenv("ZVKOB_FAKE_BATTERY") != nullptr;
}

void battery(const char* online, const char* state, const char* charge_uah,
             const char* current_ua) {
    const std::string folder = std::getenv("ZVKOB_FAKE_BATTERY");
    for (const auto& [file, value] : {std::pair{"/AC/online", online},
                                      {"/BAT0/status", state},
                                      {"/BAT0/charge_now", charge_uah},
                                      {"/BAT0/current_now", current_ua}}) {
        write_file(windows_path(folder + file), std::string(value) + "\n");
    }
}
void thirty_minutes_left() {
    battery("0", "Discharging", "3000000", "6000000");
}
void four_minutes_left() {
    battery("0", "Discharging", "400000", "6000000");
}
void charging_on_mains() {
    battery("1", "Charging", "1000000", "2000000");
}

void power_changed(HWND window) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, WM_POWERBROADCAST, PBT_APMPOWERSTATUSCHANGE, 0, SMTO_ABORTIFHUNG,
                        5000, &answer);
}

bool on_mains_until(HWND window, const std::function<bool()>& done,
                    std::chrono::milliseconds deadline) {
    auto told = std::chrono::steady_clock::now() - 2s;
    return wait_until(
        [&] {
            if (std::chrono::steady_clock::now() - told >= 2s) {
                power_changed(window);
                told = std::chrono::steady_clock::now();
            }
            return done();
        },
        deadline);
}

}  // namespace zvkob::e2e
