#include "platform/win32/power/win32_power_source.hpp"

#include <algorithm>
#include <cstring>

#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

constexpr BYTE flag_critical = 4;
constexpr BYTE flag_charging = 8;
constexpr BYTE flag_no_battery = 128;
constexpr BYTE unknown_byte = 255;
// GUID_ACDC_POWER_SOURCE's values: mains, battery, a short-term source (a UPS).
constexpr DWORD source_mains = 0;

PowerLine line_of(BYTE ac_line_status) {
    switch (ac_line_status) {
        case 0:
            return PowerLine::battery;
        case 1:
            return PowerLine::mains;
        default:
            return PowerLine::unknown;
    }
}

// The DWORD a power setting broadcast carries, if it carries one.
std::optional<DWORD> setting_value(const POWERBROADCAST_SETTING& setting) {
    if (setting.DataLength < sizeof(DWORD)) {
        return std::nullopt;
    }
    DWORD value = 0;
    std::memcpy(&value, setting.Data, sizeof value);
    return value;
}

PowerEvent setting_event(const POWERBROADCAST_SETTING* setting) {
    const auto value = setting != nullptr ? setting_value(*setting) : std::nullopt;
    if (!value) {
        return {};
    }
    if (IsEqualGUID(setting->PowerSetting, GUID_ACDC_POWER_SOURCE)) {
        return {PowerEvent::Kind::line_changed,
                *value == source_mains ? PowerLine::mains : PowerLine::battery, 0};
    }
    if (IsEqualGUID(setting->PowerSetting, GUID_BATTERY_PERCENTAGE_REMAINING)) {
        return {PowerEvent::Kind::percent_changed, PowerLine::unknown,
                static_cast<int>(std::min<DWORD>(*value, 100))};
    }
    return {};
}

}  // namespace

// A battery flag Windows cannot read (255) still has a battery behind it:
// only 128 alone says there is none.
PowerReading reading_of(const SYSTEM_POWER_STATUS& status) {
    const BYTE flag = status.BatteryFlag;
    const bool flag_known = flag != unknown_byte;
    PowerReading reading;
    reading.line = line_of(status.ACLineStatus);
    reading.battery_present = !flag_known || (flag & flag_no_battery) == 0;
    reading.charging = flag_known && (flag & flag_charging) != 0;
    reading.critical = flag_known && (flag & flag_critical) != 0;
    if (status.BatteryLifePercent != unknown_byte) {
        reading.percent = std::min<int>(status.BatteryLifePercent, 100);
    }
    if (status.BatteryLifeTime != static_cast<DWORD>(-1)) {
        reading.seconds_left = status.BatteryLifeTime;
    }
    return reading;
}

std::optional<PowerReading> Win32PowerSource::read() {
    SYSTEM_POWER_STATUS status{};
    if (!GetSystemPowerStatus(&status)) {
        failure_ = "Windows could not tell the power source: " + system_error_text(GetLastError());
        return std::nullopt;
    }
    failure_.clear();
    return reading_of(status);
}

PowerEvent power_event_of(WPARAM wparam, LPARAM lparam) {
    switch (wparam) {
        case PBT_APMPOWERSTATUSCHANGE:
            return {PowerEvent::Kind::status_changed};
        case PBT_APMSUSPEND:
            return {PowerEvent::Kind::suspending};
        case PBT_APMRESUMEAUTOMATIC:
        case PBT_APMRESUMESUSPEND:
            return {PowerEvent::Kind::resumed};
        case PBT_POWERSETTINGCHANGE:
            return setting_event(reinterpret_cast<const POWERBROADCAST_SETTING*>(lparam));
        default:
            return {};
    }
}

PowerSettingNotifications::PowerSettingNotifications(HANDLE recipient, DWORD recipient_kind)
    : power_source_(
          RegisterPowerSettingNotification(recipient, &GUID_ACDC_POWER_SOURCE, recipient_kind)),
      battery_percent_(RegisterPowerSettingNotification(
          recipient, &GUID_BATTERY_PERCENTAGE_REMAINING, recipient_kind)) {
    if (!power_source_ || !battery_percent_) {
        failure_ =
            "Windows would not tell ZV-KOB of power changes: " + system_error_text(GetLastError());
    }
}

}  // namespace zvkob::win32
