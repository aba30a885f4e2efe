#pragma once
// The made-up battery of tests/support/fake_battery.sh, as a test changes it
// while ZV-KOB runs: wine reads it afresh at every GetSystemPowerStatus, and
// a power broadcast sent as Windows sends it has ZV-KOB read it at once (wine
// itself never sends one).
#include <windows.h>

#include <chrono>
#include <functional>

namespace zvkob::e2e {

// Whether the test runs under fake_battery.sh.
bool battery_made_up();

// The battery's files, 5 Ah at 12 V: the time left is what is charged over
// what flows.
void battery(const char* online, const char* state, const char* charge_uah,
             const char* current_ua);
void thirty_minutes_left();
void four_minutes_left();
void charging_on_mains();

// Windows' word that the power status changed.
void power_changed(HWND window);

// Mains power for a minute: told again every two seconds until `done` holds
// or `deadline` passes.
bool on_mains_until(HWND window, const std::function<bool()>& done,
                    std::chrono::milliseconds deadline);

}  // namespace zvkob::e2e
