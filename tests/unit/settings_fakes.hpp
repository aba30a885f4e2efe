#pragma once
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "fakes.hpp"
#include "main_window/load_unload.hpp"
#include "settings_window/open_unload.hpp"
#include "platform/batch_file_writer.hpp"
#include "settings_window/settings_window.hpp"
#include "tests/support/worked_example.hpp"

namespace zvkob::testing {

// Batch files as the writer was asked for them. Its code page holds ASCII
// and the accented Latin letters, and nothing else.
class FakeBatchFiles : public BatchFileWriter {
public:
    explicit FakeBatchFiles(CallLog& log) : log_(log) {}

    std::string failure;  // when set, writing fails with this reason
    std::vector<BatchFile> written;

    unsigned code_page() override { return 437; }

    std::optional<std::string> unwritable_character(std::string_view text) override {
        for (std::size_t at = 0; at < text.size(); ++at) {
            const auto lead = static_cast<unsigned char>(text[at]);
            if (lead < 0x80) {
                continue;
            }
            const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
            if (lead != 0xC3) {  // U+00C0 to U+00FF
                return std::string(text.substr(at, length));
            }
            at += length - 1;
        }
        return std::nullopt;
    }

    Outcome write_both(const BatchFile& first, const BatchFile& second) override {
        log_.push_back("write " + first.path + " and " + second.path);
        if (!failure.empty()) {
            return Outcome::failure(failure);
        }
        written = {first, second};
        return Outcome::success();
    }

private:
    CallLog& log_;
};

// A settings window over a main window, with fakes that all write to one log.
struct SettingsWindowFixture {
    MainWindowFixture main;
    CallLog& log = main.log;
    FakeStore& store = main.store;
    FakeNotifier& notifier = main.notifier;
    FakeBatchFiles batch_files{main.log};
    FakeFileSystem& files = main.files;
    SettingsWindow window{SettingsWindowServices{main.store, batch_files, files, main.notifier,
                                                 main.history, main.events, main.background},
                          main.window};

    SettingsWindowFixture() {
        window.request_close = [this] { log.push_back("close settings"); };
    }

    CallLog take_log() { return main.take_log(); }
};

// A settings window opened over a loaded main window, its calls so far forgotten.
struct OpenSettingsWindow : ::testing::Test {
    SettingsWindowFixture f;
    SettingsWindow& w = f.window;
    MainWindow& main = f.main.window;

    OpenSettingsWindow() {
        load_main_window(main);
        open_settings_window(w);
        f.take_log();
    }
};

// The worked example of the window's own captions, typed into its fields.
inline void fill_worked_example(SettingsWindow& w) {
    for (const worked_example::Field& field : worked_example::fields) {
        w.controls.of(field.design).set_text(field.value);
    }
}

// Its lines, with the wallet argument of a window that was never changed.
inline const std::string worked_qt_line =
    std::string(worked_example::qt_line) + std::string(worked_example::wallet_argument);
inline const std::string worked_daemon_line =
    std::string(worked_example::daemon_line) + std::string(worked_example::wallet_argument);

}  // namespace zvkob::testing
