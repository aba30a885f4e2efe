#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace zvkob {

// What the user picked.
struct FolderChoice {
    std::optional<std::string> folder;  // none when nothing was chosen (the dialog cancelled)
    std::string failure;                // why no dialog could be shown, or empty
};

// The shell's dialog that asks for a folder, owned by ZV-KOB's window in
// front; it waits until the user has chosen.
class FolderPicker {
public:
    virtual ~FolderPicker() = default;
    // Opens on `start_folder` (none when it is empty or gone) with this title.
    virtual FolderChoice pick(std::string_view title, std::string_view start_folder) = 0;
};

}  // namespace zvkob
