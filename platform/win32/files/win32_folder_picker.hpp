#pragma once
#include <windows.h>

#include "platform/folder_picker.hpp"

namespace zvkob::win32 {

// Which of the shell's folder dialogs to show. Under wine 8 the
// Explorer-style one opens, but not on the folder asked for, and accepts
// only a folder typed into its name box; the folder tree opens on it and
// Enter accepts it.
enum class FolderDialog {
    newer,    // the Explorer-style dialog (IFileOpenDialog), the tree where it cannot be shown
    classic,  // the folder tree (SHBrowseForFolderW) alone
};

// The shell's folder dialog, owned by ZV-KOB's window in front, on the
// window's thread (a single-threaded COM apartment).
class Win32FolderPicker : public FolderPicker {
public:
    explicit Win32FolderPicker(FolderDialog dialog) : dialog_(dialog) {}
    FolderChoice pick(std::string_view title, std::string_view start_folder) override;

private:
    FolderDialog dialog_;
};

}  // namespace zvkob::win32
