#include "main_window/main_window.hpp"

#include "main_window/main_window_events.hpp"
#include "main_window/main_window_layout.hpp"

namespace zvkob {

MainWindow::MainWindow(const MainWindowServices& services_, std::string instance_name_)
    : services(services_),
      instance_name(std::move(instance_name_)),
      controls(main_window_layout()),
      DAEMOND_NAME_TEXTBOX(controls.at("DAEMOND_NAME_TEXTBOX")),
      QT_NAME_TEXTBOX(controls.at("QT_NAME_TEXTBOX")),
      BAT_DAEMON_RUN_COMMAND_TEXTBOX(controls.at("BAT_DAEMON_RUN_COMMAND_TEXTBOX")),
      BAT_QT_RUN_COMMAND_TEXTBOX(controls.at("BAT_QT_RUN_COMMAND_TEXTBOX")),
      EXE_DAEMON_RUN_COMMAND_TEXTBOX(controls.at("EXE_DAEMON_RUN_COMMAND_TEXTBOX")),
      EXE_QT_RUN_COMMAND_TEXTBOX(controls.at("EXE_QT_RUN_COMMAND_TEXTBOX")),
      AlwaysOnTopTimer_TICKBOX(controls.tickbox("AlwaysOnTopTimer_TICKBOX")),
      SETTINGS_BUTTON(controls.at("SETTINGS_BUTTON")),
      KOB_BAT_FIX_TICKBOX(controls.tickbox("KOB_BAT_FIX_TICKBOX")),
      LAUNCH_BUTTON(controls.at("LAUNCH_BUTTON")),
      USE_DAEMON_BAT_TICKBOX(controls.tickbox("USE_DAEMON_BAT_TICKBOX")),
      USE_QT_BAT_TICKBOX(controls.tickbox("USE_QT_BAT_TICKBOX")),
      RUN_BAT_TICKBOX(controls.tickbox("RUN_BAT_TICKBOX")),
      RUN_EXE_TICKBOX(controls.tickbox("RUN_EXE_TICKBOX")),
      USE_DAEMON_EXE_TICKBOX(controls.tickbox("USE_DAEMON_EXE_TICKBOX")),
      USE_QT_EXE_TICKBOX(controls.tickbox("USE_QT_EXE_TICKBOX")),
      START_STOP_BUTTON(controls.at("START_STOP_BUTTON")),
      AUTOSTART_TICKBOX(controls.tickbox("AUTOSTART_TICKBOX")),
      AUTOCLOSE_TIMER_TICKBOX(controls.tickbox("AUTOCLOSE_TIMER_TICKBOX")),
      AUTORUN_TIMER_TEXTBOX(controls.at("AUTORUN_TIMER_TEXTBOX")),
      DAEMON_PROCESS_ACTIVE_LABEL(controls.at("DAEMON_PROCESS_ACTIVE_LABEL")),
      QT_PROCESS_ACTIVE_LABEL(controls.at("QT_PROCESS_ACTIVE_LABEL")),
      ZV_KOB_TITLE(controls.at("ZV_KOB_TITLE")),
      APP_EXE_NAME_LABEL(controls.at("APP_EXE_NAME_LABEL")),
      qt_status(QT_PROCESS_ACTIVE_LABEL, "!!! QT RUNNING !!!", "!!! QT STOPPED !!!"),
      daemon_status(DAEMON_PROCESS_ACTIVE_LABEL, "!!! DAEMON RUNNING !!!",
                    "!!! DAEMON STOPPED !!!") {
    frame.set_caption(controls.design().caption);
    // Switched on at design but without an interval, so silent until the load.
    KOB_PROCESS_WATCHER_TIMER.set_enabled(true);
    AlwaysOnTopTimer.set_enabled(true);
    wire_main_window_events(*this);
}

}  // namespace zvkob
