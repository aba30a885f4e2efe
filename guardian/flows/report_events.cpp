#include "guardian/flows/report_events.hpp"

#include "core/care/help_report_words.hpp"
#include "guardian/care/help_report_files.hpp"

namespace zvkob {
namespace {

// The report as written by the worker.
struct WrittenReport {
    std::string text;
    std::string path;
    std::string failure;  // why the file could not be written
};

void hand_out(GuardianEngine& g, const WrittenReport& report) {
    const ClipboardPut put = g.services.clipboard.put_text(report.text);
    const HelpReportDelivery delivery{.path = report.path,
                                      .file_failure = report.failure,
                                      .clipboard = put.result == ClipboardPut::Result::copied
                                                       ? HelpReportDelivery::Clipboard::copied
                                                   : put.result == ClipboardPut::Result::busy
                                                       ? HelpReportDelivery::Clipboard::busy
                                                       : HelpReportDelivery::Clipboard::failed,
                                      .clipboard_failure = put.failure};
    g.services.history.record(help_report_event(delivery));
    g.host.tell_user(help_report_message(delivery));
}

}  // namespace

void copy_report(GuardianEngine& g, const GuardedProgram& program, HelpReportFacts facts) {
    const HelpReportSources sources{program.node.started_with(), g.data_folder,
                                    g.services.history.path()};
    run_in_background<WrittenReport>(
        g.services.background,
        [&files = g.services.files, &records = g.services.records, facts = std::move(facts),
         sources] {
            WrittenReport report{help_report(facts, read_for_help_report(files, sources)),
                                 help_report_path(sources.history_path),
                                 {}};
            if (const Outcome written = records.replace_whole(report.path, report.text); !written) {
                report.failure = written.reason();
            }
            return report;
        },
        [&g](WrittenReport report) { hand_out(g, report); }, g.lifetime);
}

}  // namespace zvkob
