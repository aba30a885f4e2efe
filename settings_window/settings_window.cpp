#include "settings_window/settings_window.hpp"

#include "settings_window/settings_window_events.hpp"
#include "settings_window/settings_window_layout.hpp"

namespace zvkob {

SettingsWindow::SettingsWindow(const SettingsWindowServices& services_, MainWindow& main_)
    : services(services_),
      main(main_),
      controls(settings_window_layout()),
      ZV_KOB_TITLE(controls.at("ZV_KOB_TITLE")),
      ZV_KOB_VERSION(controls.at("ZV_KOB_VERSION")),
      ZV_KOB_CREATOR(controls.at("ZV_KOB_CREATOR")),
      ZV_KOB_FOLDER_LABEL(controls.at("ZV_KOB_FOLDER_LABEL")),
      EXE_FILENAME_HELP_LABEL(controls.at("EXE_FILENAME_HELP_LABEL")),
      ZV_KOB_LOCATION_TEXTBOX(controls.at("ZV_KOB_LOCATION_TEXTBOX")),
      CONF_LOCATION_LABEL(controls.at("CONF_LOCATION_LABEL")),
      BLOCKCHAIN_FOLDER_LABEL(controls.at("BLOCKCHAIN_FOLDER_LABEL")),
      CONF_LOCATION_TEXTBOX(controls.at("CONF_LOCATION_TEXTBOX")),
      BLOCKCHAIN_FOLDER_TEXTBOX(controls.at("BLOCKCHAIN_FOLDER_TEXTBOX")),
      QT_LOCATION_LABEL(controls.at("QT_LOCATION_LABEL")),
      DAEMOND_LOCATION_LABEL(controls.at("DAEMOND_LOCATION_LABEL")),
      QT_LOCATION_TEXTBOX(controls.at("QT_LOCATION_TEXTBOX")),
      DAEMON_LOCATION_TEXTBOX(controls.at("DAEMON_LOCATION_TEXTBOX")),
      QT_NAME_LABEL(controls.at("QT_NAME_LABEL")),
      DAEMOND_NAME_LABEL(controls.at("DAEMOND_NAME_LABEL")),
      QT_NAME_TEXTBOX(controls.at("QT_NAME_TEXTBOX")),
      DAEMOND_NAME_TEXTBOX(controls.at("DAEMOND_NAME_TEXTBOX")),
      ZV_QT_COMMAND_LABEL(controls.at("ZV_QT_COMMAND_LABEL")),
      ZV_QT_COMMAND_TEXTBOX(controls.at("ZV_QT_COMMAND_TEXTBOX")),
      ZV_D_COMMAND_LABEL(controls.at("ZV_D_COMMAND_LABEL")),
      ZV_D_COMMAND_TEXTBOX(controls.at("ZV_D_COMMAND_TEXTBOX")),
      AlwaysOnTopTimer_TICKBOX(controls.tickbox("AlwaysOnTopTimer_TICKBOX")),
      WALLET_TICKBOX(controls.tickbox("WALLET_TICKBOX")),
      DISABLE_WALLET_TICKBOX(controls.tickbox("DISABLE_WALLET_TICKBOX")),
      SAVE_REGISTRY_BUTTON(controls.at("SAVE_REGISTRY_BUTTON")),
      SAVE_BATS_BUTTON(controls.at("SAVE_BATS_BUTTON")),
      CLOSE_BUTTON(controls.at("CLOSE_BUTTON")),
      DASH_DISABLE_WALLET_EQUALS_TEXTBOX(controls.at("DASH_DISABLE_WALLET_EQUALS_TEXTBOX")),
      BAT_QT_RUN_COMMAND_TEXTBOX(controls.at("BAT_QT_RUN_COMMAND_TEXTBOX")),
      BAT_DAEMON_RUN_COMMAND_TEXTBOX(controls.at("BAT_DAEMON_RUN_COMMAND_TEXTBOX")) {
    frame.set_caption(controls.design().caption);
    wire_settings_window_events(*this);
}

}  // namespace zvkob
