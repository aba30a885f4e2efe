#pragma once

namespace zvkob {

class SettingsWindow;

// Stores every field, hands the batch file paths and the image names to the
// main window, stores those paths and sets the close button to
// "Close". Every key is attempted; when one could not be saved the user is
// told which, and the close button keeps its caption. Fields no batch file
// could use (a program file name the watcher cannot see, a text longer than
// a batch file line) are refused first, naming the field: nothing is saved.
void save_to_registry(SettingsWindow& window);

}  // namespace zvkob
