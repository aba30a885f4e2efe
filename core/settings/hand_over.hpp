#pragma once
#include <optional>
#include <string>

namespace zvkob {

// What the main window watches for and starts, as Save To Registry set it.
struct SavedPrograms {
    std::string qt_image;
    std::string qt_batch_path;
    std::string daemon_image;
    std::string daemon_batch_path;
    std::string data_folder;  // where the node keeps its own log
};

// What the settings window hands to the main window. Data flows one way: the
// settings window never writes the main window's controls or timers.
struct HandOver {
    std::optional<SavedPrograms> programs;  // from Save To Registry
    std::optional<bool> always_on_top;      // from its Always On Top, which acts at once
};

// The main window, as the settings window sees it.
class HandOverReceiver {
public:
    virtual ~HandOverReceiver() = default;
    virtual void take_over(const HandOver& hand_over) = 0;
};

}  // namespace zvkob
