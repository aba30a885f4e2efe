#pragma once
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/controls.hpp"
#include "core/event_gate.hpp"
#include "core/settings/hand_over.hpp"
#include "core/settings/stored_settings.hpp"
#include "core/window_frame.hpp"
#include "platform/background_work.hpp"
#include "platform/batch_file_writer.hpp"
#include "platform/file_system.hpp"
#include "platform/history.hpp"
#include "platform/notifier.hpp"
#include "platform/settings_store.hpp"

namespace zvkob {

struct SettingsWindowServices {
    SettingsStore& store;
    BatchFileWriter& batch_files;
    FileSystem& files;
    Notifier& notifier;
    History& history;
    EventGate& events;
    BackgroundWork& background;
};

// The two batch files, in the program folder as Save To Registry found it.
struct BatchFilePaths {
    std::string folder;
    std::string qt;
    std::string daemon;
};

// The configuration window: its controls and two composer timers, with every
// event handler wired to them. Each opening builds a new one from the store.
class SettingsWindow {
public:
    SettingsWindow(const SettingsWindowServices& services, HandOverReceiver& main);
    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

    SettingsWindowServices services;
    // The main window: Save To Registry and Always On Top hand over to it.
    HandOverReceiver& main;

    WindowFrame frame;
    ControlSet controls;

    Label& credit_line;
    TextBox& program_folder;
    TextBox& conf_file;
    TextBox& data_folder;
    TextBox& qt_folder;
    TextBox& daemon_folder;
    TextBox& qt_file;
    TextBox& daemon_file;
    TextBox& qt_run_command;
    TextBox& daemon_run_command;
    Tickbox& always_on_top;
    Tickbox& wallet;
    Tickbox& wallet_disabled;
    Button& save_to_registry_button;
    Button& save_bat_files_button;
    Button& close_button;

    // The disable-wallet argument that ends both run commands (wallet_options.hpp).
    std::string wallet_argument = " -disablewallet=";
    // Where Save .BAT Files writes; nothing until Save To Registry has run in this opening.
    std::optional<BatchFilePaths> batch_paths;

    Timer qt_composer{"QT run command"};
    Timer daemon_composer{"DAEMON run command"};

    // Asks the window system to close this window the way its close box
    // does; the unload then runs from there.
    std::function<void()> request_close;

    std::array<Timer*, 2> timers() { return {&qt_composer, &daemon_composer}; }

    // Answers of checks in the background reach the window only while it lives.
    const std::shared_ptr<const int> lifetime = std::make_shared<const int>(0);

    // Where the window keeps each setting it reads and writes.
    SettingFields stored_fields();
};

}  // namespace zvkob
