#include "settings_window/typed_fields.hpp"

#include "settings_window/settings_window.hpp"

namespace zvkob {

std::array<LineField, 7> typed_fields(const SettingsWindow& w) {
    return {{{"ZV-KOB FOLDER", w.program_folder.text()},
             {"WALLET.CONF File Location", w.conf_file.text()},
             {"BLOCKCHAIN FOLDER", w.data_folder.text()},
             {"QT Folder", w.qt_folder.text()},
             {"QT Filename", w.qt_file.text()},
             {"DAEMON Folder", w.daemon_folder.text()},
             {"DAEMON Filename", w.daemon_file.text()}}};
}

std::optional<std::string> typed_fields_refusal(const SettingsWindow& w) {
    for (const LineField& field : typed_fields(w)) {
        if (auto refused = length_refusal(field)) {
            return refused;
        }
    }
    if (auto refused = program_name_refusal({"QT Filename", w.qt_file.text()}, "QT Folder",
                                            "bitcoin-qt.exe")) {
        return refused;
    }
    return program_name_refusal({"DAEMON Filename", w.daemon_file.text()}, "DAEMON Folder",
                                "bitcoind.exe");
}

}  // namespace zvkob
