#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace zvkob {

// Where the PC draws its power from, as Windows reports it.
enum class PowerLine { mains, battery, unknown };

// One reading of the PC's power. A UPS that Windows shows as a battery is a
// battery here too.
struct PowerReading {
    PowerLine line = PowerLine::unknown;
    bool battery_present = false;  // false: this PC has no battery at all
    bool charging = false;
    bool critical = false;                     // Windows flags the battery critical
    std::optional<int> percent;                // 0..100; none while Windows does not know
    std::optional<std::int64_t> seconds_left;  // none while Windows does not know
};

// Running on the battery: the line is the battery's and there is one. A PC
// without a battery is never on battery, whatever its line says; a line
// Windows cannot tell is not taken for the battery.
inline bool on_battery(const PowerReading& reading) {
    return reading.line == PowerLine::battery && reading.battery_present;
}

// What a power broadcast to the window tells.
struct PowerEvent {
    enum class Kind {
        other,           // nothing that the power rules hear
        status_changed,  // the power source or the battery changed: read it again
        suspending,      // the PC goes to sleep in about two seconds
        resumed,         // the PC woke up: read the power and the link's cost again
        line_changed,    // a registered setting: the power source (line says which)
        percent_changed  // a registered setting: the battery's charge (percent)
    };
    Kind kind = Kind::other;
    PowerLine line = PowerLine::unknown;  // line_changed
    int percent = 0;                      // percent_changed
};

// The PC's power source, read on demand.
class PowerSource {
public:
    virtual ~PowerSource() = default;
    // Nothing when Windows could not tell; failure() then says why.
    virtual std::optional<PowerReading> read() = 0;
    virtual std::string failure() const = 0;
};

}  // namespace zvkob
