#pragma once
#include "main_window/main_window.hpp"

namespace zvkob {

// "Copy a Report for Help": the worker reads the node's log and the history
// and writes the report beside the history (report_path, replaced each
// time); then the window puts it on the clipboard and says where it is.
// Where the clipboard is busy, the file alone; the message says so.
void copy_report_clicked(MainWindow& window);

}  // namespace zvkob
