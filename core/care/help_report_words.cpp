#include "core/care/help_report_words.hpp"

namespace zvkob {
namespace {

constexpr char read_first[] =
    "Addresses, names, paths, wallets and transaction ids are masked in it, and lines that may "
    "hold a password are left out; read it before you share it.";

bool written(const HelpReportDelivery& d) {
    return d.file_failure.empty();
}

// Why the clipboard did not take it, in words.
std::string clipboard_trouble(const HelpReportDelivery& d) {
    return d.clipboard == HelpReportDelivery::Clipboard::busy
               ? std::string("another program holds the clipboard")
               : "the clipboard refused it (" + d.clipboard_failure + ")";
}

}  // namespace

std::string help_report_message(const HelpReportDelivery& d) {
    const bool copied = d.clipboard == HelpReportDelivery::Clipboard::copied;
    if (copied && written(d)) {
        return "ZV-KOB copied a report for help to the clipboard and wrote it to " + d.path +
               ".\n\nPaste it where you ask for help. " + read_first;
    }
    if (copied) {
        return "ZV-KOB copied a report for help to the clipboard. It could not write it to " +
               d.path + ": " + d.file_failure + "\n\nPaste it where you ask for help. " +
               read_first;
    }
    if (written(d)) {
        std::string trouble = clipboard_trouble(d);
        trouble[0] = static_cast<char>(trouble[0] - 'a' + 'A');
        return trouble + ", so ZV-KOB wrote the report for help only to " + d.path +
               ".\n\nOpen that file, copy its text and paste it where you ask for help. " +
               read_first;
    }
    return "ZV-KOB could not hand out the report for help: " + clipboard_trouble(d) +
           ", and it could not write " + d.path + ": " + d.file_failure +
           "\n\nTry again in a moment.";
}

std::string help_report_event(const HelpReportDelivery& d) {
    const bool copied = d.clipboard == HelpReportDelivery::Clipboard::copied;
    if (written(d)) {
        return "A report for help was written to " + d.path +
               (copied ? " and copied to the clipboard." : "; " + clipboard_trouble(d) + ".");
    }
    return "A report for help could not be written to " + d.path + " (" + d.file_failure + ")" +
           (copied ? "; it was copied to the clipboard." : "; " + clipboard_trouble(d) + ".");
}

}  // namespace zvkob
