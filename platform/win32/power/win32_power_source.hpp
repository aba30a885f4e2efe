#pragma once
#include <windows.h>

#include <string>

#include "platform/power_source.hpp"
#include "platform/win32/owners.hpp"

namespace zvkob::win32 {

// What Windows' power status says, portably. Its fourth byte (named
// Reserved1 by mingw-w64, SystemStatusFlag by newer SDKs: battery saver) is
// not read.
PowerReading reading_of(const SYSTEM_POWER_STATUS& status);

// The power source, read with GetSystemPowerStatus at each call (wine reads
// the kernel's power-supply class afresh each time too).
class Win32PowerSource : public PowerSource {
public:
    std::optional<PowerReading> read() override;
    std::string failure() const override { return failure_; }

private:
    std::string failure_;
};

// What a WM_POWERBROADCAST to the window tells; for PBT_POWERSETTINGCHANGE
// `lparam` points at the POWERBROADCAST_SETTING that Windows sent (a pointer
// that is not carried across processes: only Windows can send it).
PowerEvent power_event_of(WPARAM wparam, LPARAM lparam);

namespace release {
inline bool power_notification(HPOWERNOTIFY notification) {
    return UnregisterPowerSettingNotification(notification) != FALSE;
}
}  // namespace release

// The power source and the battery's charge, registered to be broadcast to
// a window (or, with DEVICE_NOTIFY_SERVICE_HANDLE, to a service's control
// handler: `recipient` is then its status handle) as PBT_POWERSETTINGCHANGE
// for as long as this lives. Under wine 8
// the registration succeeds and nothing is ever sent: the 30 s reading must
// do the work alone.
class PowerSettingNotifications {
public:
    explicit PowerSettingNotifications(HANDLE recipient,
                                       DWORD recipient_kind = DEVICE_NOTIFY_WINDOW_HANDLE);
    // Why a registration failed, or "".
    const std::string& failure() const { return failure_; }

private:
    using Notification = Owner<HPOWERNOTIFY, nullptr, release::power_notification>;
    Notification power_source_;
    Notification battery_percent_;
    std::string failure_;
};

}  // namespace zvkob::win32
