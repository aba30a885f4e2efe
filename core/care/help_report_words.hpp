#pragma once
#include <string>

namespace zvkob {

// Where a report for help went: its file beside the history, the clipboard.
struct HelpReportDelivery {
    std::string path;
    std::string file_failure;  // why the file could not be written; empty when it was
    enum class Clipboard { copied, busy, failed } clipboard = Clipboard::copied;
    std::string clipboard_failure;  // Windows' words, when it failed
};

// The message that says where the report is, or why it is nowhere.
std::string help_report_message(const HelpReportDelivery& delivery);

// The history's line.
std::string help_report_event(const HelpReportDelivery& delivery);

}  // namespace zvkob
