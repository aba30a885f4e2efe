#pragma once

namespace zvkob {

class SettingsWindow;

// Stores every field, hands the batch file paths and the image names to the
// main window, stores those paths and sets the close button to
// "Close". Every key is attempted; when one could not be saved the user is
// told which, and the close button keeps its caption.
void save_to_registry(SettingsWindow& window);

}  // namespace zvkob
