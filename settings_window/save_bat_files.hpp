#pragma once

namespace zvkob {

class SettingsWindow;

// Writes the two run commands into the batch files at the paths that the
// last Save To Registry set, and sets the close button to "Close". Nothing
// is written before Save To Registry has set the paths, nor when a field
// holds something a batch file line cannot carry; the user is told why.
void save_bat_files(SettingsWindow& window);

}  // namespace zvkob
