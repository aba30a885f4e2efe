#pragma once
#include <array>
#include <functional>

#include "core/controls.hpp"
#include "core/settings_store.hpp"
#include "core/window_frame.hpp"
#include "main_window/main_window.hpp"
#include "platform/batch_file_writer.hpp"
#include "platform/file_system.hpp"
#include "platform/notifier.hpp"

namespace zvkob {

struct SettingsWindowServices {
    SettingsStore& store;
    BatchFileWriter& batch_files;
    FileSystem& files;
    Notifier& notifier;
};

// The configuration window: its controls and two composer timers, with every
// event handler wired to them. Each opening builds a new one from the store.
class SettingsWindow {
public:
    SettingsWindow(const SettingsWindowServices& services, MainWindow& main);
    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

    SettingsWindowServices services;
    // The owner: Save To Registry hands it the batch file paths and image
    // names, and Always On Top switches its timer and tickbox.
    MainWindow& main;

    WindowFrame frame;
    ControlSet controls;

    Label& ZV_KOB_TITLE;
    Label& ZV_KOB_VERSION;
    Label& ZV_KOB_CREATOR;
    Label& ZV_KOB_FOLDER_LABEL;
    Label& EXE_FILENAME_HELP_LABEL;
    TextBox& ZV_KOB_LOCATION_TEXTBOX;
    Label& CONF_LOCATION_LABEL;
    Label& BLOCKCHAIN_FOLDER_LABEL;
    TextBox& CONF_LOCATION_TEXTBOX;
    TextBox& BLOCKCHAIN_FOLDER_TEXTBOX;
    Label& QT_LOCATION_LABEL;
    Label& DAEMOND_LOCATION_LABEL;
    TextBox& QT_LOCATION_TEXTBOX;
    TextBox& DAEMON_LOCATION_TEXTBOX;
    Label& QT_NAME_LABEL;
    Label& DAEMOND_NAME_LABEL;
    TextBox& QT_NAME_TEXTBOX;
    TextBox& DAEMOND_NAME_TEXTBOX;
    Label& ZV_QT_COMMAND_LABEL;
    TextBox& ZV_QT_COMMAND_TEXTBOX;
    Label& ZV_D_COMMAND_LABEL;
    TextBox& ZV_D_COMMAND_TEXTBOX;
    Tickbox& AlwaysOnTopTimer_TICKBOX;
    Tickbox& WALLET_TICKBOX;
    Tickbox& DISABLE_WALLET_TICKBOX;
    Button& SAVE_REGISTRY_BUTTON;
    Button& SAVE_BATS_BUTTON;
    Button& CLOSE_BUTTON;
    TextBox& DASH_DISABLE_WALLET_EQUALS_TEXTBOX;
    TextBox& BAT_QT_RUN_COMMAND_TEXTBOX;
    TextBox& BAT_DAEMON_RUN_COMMAND_TEXTBOX;

    Timer QT_BAT_COMMAND_TIMER{"QT_BAT_COMMAND_TIMER"};
    Timer DAEMON_BAT_COMMAND_TIMER{"DAEMON_BAT_COMMAND_TIMER"};

    // Asks the window system to close this window the way its close box
    // does; the unload then runs from there.
    std::function<void()> request_close;

    std::array<Timer*, 2> timers() { return {&QT_BAT_COMMAND_TIMER, &DAEMON_BAT_COMMAND_TIMER}; }
};

}  // namespace zvkob
