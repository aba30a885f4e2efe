#pragma once
#include "main_window/main_window.hpp"

namespace zvkob {

// The main window's own commands in its window menu (Keep Node Running is
// event_order.hpp).

// Stores a tick of the window menu the moment the user changes it; says so
// when the store refuses (the unload tries again).
void store_choice(MainWindow& window, const StoredSetting& setting, bool ticked);

// Turns a tick of the window menu over, stores it at once, and the history
// records "<name> switched on." or "... off.".
void switch_tick(MainWindow& window, MenuItem& tick, const StoredSetting& setting,
                 const std::string& name);

// The menu is about to open: its ticks show the state of now.
void window_menu_opening(MainWindow& window);

// "Start With Windows": adds or removes the entry that starts this copy of
// ZV-KOB at sign-in, and says so when Windows refuses.
void start_with_windows_clicked(MainWindow& window);

// "Stop Node Safely at Sign-out": switched on or off (session_end_events.hpp does the work).
void safe_sign_out_clicked(MainWindow& window);

// "Check the Data Drive Before a Start": switched on or off (start_check_events.hpp
// does the work).
void check_data_drive_clicked(MainWindow& window);

// "History...": opens the history, or says why it cannot be written or opened.
void history_clicked(MainWindow& window);

// The guarding commands: each tick turned over and stored, then the
// guardian follows it (guardian/flows/).
void show_progress_clicked(MainWindow& window);
void keep_awake_clicked(MainWindow& window);
void battery_stop_clicked(MainWindow& window);
void metered_pause_clicked(MainWindow& window);
void low_priority_clicked(MainWindow& window);
// "Stop Node..." and "Back Up Wallets...": the guardian's own commands.
void stop_node_clicked(MainWindow& window);
void back_up_wallets_clicked(MainWindow& window);
// "Copy a Report for Help": what the window shows, with the ticks, handed
// to the guardian's report (guardian/flows/report_events.hpp).
void copy_report_clicked(MainWindow& window);

}  // namespace zvkob
