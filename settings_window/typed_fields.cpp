#include "settings_window/typed_fields.hpp"

#include "settings_window/settings_window.hpp"

namespace zvkob {

std::array<LineField, 7> typed_fields(const SettingsWindow& w) {
    return {{{"ZV-KOB FOLDER", w.ZV_KOB_LOCATION_TEXTBOX.text()},
             {"WALLET.CONF File Location", w.CONF_LOCATION_TEXTBOX.text()},
             {"BLOCKCHAIN FOLDER", w.BLOCKCHAIN_FOLDER_TEXTBOX.text()},
             {"QT Folder", w.QT_LOCATION_TEXTBOX.text()},
             {"QT Filename", w.QT_NAME_TEXTBOX.text()},
             {"DAEMON Folder", w.DAEMON_LOCATION_TEXTBOX.text()},
             {"DAEMON Filename", w.DAEMOND_NAME_TEXTBOX.text()}}};
}

std::optional<std::string> typed_fields_refusal(const SettingsWindow& w) {
    for (const LineField& field : typed_fields(w)) {
        if (auto refused = length_refusal(field)) {
            return refused;
        }
    }
    if (auto refused = program_name_refusal({"QT Filename", w.QT_NAME_TEXTBOX.text()}, "QT Folder",
                                            "bitcoin-qt.exe")) {
        return refused;
    }
    return program_name_refusal({"DAEMON Filename", w.DAEMOND_NAME_TEXTBOX.text()}, "DAEMON Folder",
                                "bitcoind.exe");
}

}  // namespace zvkob
