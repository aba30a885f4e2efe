#include "settings_window/credit_line.hpp"

#include "settings_window/settings_window.hpp"

namespace zvkob {

void credit_line_clicked(SettingsWindow& w) {
    w.credit_line.set_text(credit_line_contact);
}

}  // namespace zvkob
