#include "guardian/flows/report_events.hpp"

#include "core/care/help_report_words.hpp"
#include "core/time_text.hpp"
#include "guardian/care/help_report_files.hpp"
#include "main_window/main_window_layout.hpp"
#include "main_window/shown_state.hpp"
#include "guardian/flows/node_state_now.hpp"

namespace zvkob {
namespace {

// The report as written by the worker.
struct WrittenReport {
    std::string text;
    std::string path;
    std::string failure;  // why the file could not be written
};

// The node that runs, else the one chosen, else the background node.
const NodeProgram& reported_program(MainWindow& w) {
    if (const GuardedProgram* running = running_node_program(w.engine)) {
        return w.program_of(*running);
    }
    return w.qt.chosen.ticked() ? w.qt : w.daemon;
}

std::string caption_of(const MenuItem& item) {
    std::string caption(item.design().caption);
    std::erase(caption, '&');
    return caption;
}

HelpReportFacts facts_of(MainWindow& w, const NodeProgram& program) {
    const std::int64_t now_ms = w.services.clock.now_ms();
    const ShownState shown = what_the_window_shows(w, now_ms);
    std::string described = program.described();
    described[0] = 'T';  // "The DAEMON program (...)"
    HelpReportFacts facts{.made_at = iso_local_time(local_time_at(
                              now_ms, w.services.clock.utc_offset_minutes_at(now_ms))),
                          .program = described,
                          .node_runs = program.node.life.runs(),
                          .node_state = &program == &w.qt ? shown.qt_tip : shown.daemon_tip,
                          .data_folder_set = !w.data_folder.empty(),
                          .wallets = program.node.rpc().wallets(),
                          .now_ms = now_ms};
    for (const Tickbox* tick :
         {&w.qt.chosen, &w.daemon.chosen, &w.auto_start, &w.auto_close, &w.always_on_top}) {
        facts.ticks.emplace_back(tick->text(), tick->ticked());
    }
    for (const MenuItem* tick :
         {&w.keep_node_running, &w.safe_sign_out, &w.check_data_drive, &w.start_with_windows,
          &w.show_progress, &w.show_in_notification_area, &w.keep_awake, &w.battery_stop,
          &w.metered_pause, &w.low_priority}) {
        facts.ticks.emplace_back(caption_of(*tick), tick->ticked());
    }
    return facts;
}

void hand_out(MainWindow& w, const WrittenReport& report) {
    const ClipboardPut put = w.services.clipboard.put_text(report.text);
    const HelpReportDelivery delivery{.path = report.path,
                                      .file_failure = report.failure,
                                      .clipboard = put.result == ClipboardPut::Result::copied
                                                       ? HelpReportDelivery::Clipboard::copied
                                                   : put.result == ClipboardPut::Result::busy
                                                       ? HelpReportDelivery::Clipboard::busy
                                                       : HelpReportDelivery::Clipboard::failed,
                                      .clipboard_failure = put.failure};
    w.services.history.record(help_report_event(delivery));
    tell(w, help_report_message(delivery));
}

}  // namespace

void copy_report_clicked(MainWindow& w) {
    const NodeProgram& program = reported_program(w);
    const HelpReportSources sources{program.node.started_with(), w.data_folder,
                                    w.services.history.path()};
    run_in_background<WrittenReport>(
        w.services.background,
        [&files = w.services.files, &records = w.services.records, facts = facts_of(w, program),
         sources] {
            WrittenReport report{help_report(facts, read_for_help_report(files, sources)),
                                 help_report_path(sources.history_path),
                                 {}};
            if (const Outcome written = records.replace_whole(report.path, report.text); !written) {
                report.failure = written.reason();
            }
            return report;
        },
        [&w](WrittenReport report) { hand_out(w, report); }, w.lifetime);
}

}  // namespace zvkob
