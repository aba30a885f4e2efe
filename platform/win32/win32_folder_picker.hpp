#pragma once
#include <windows.h>

#include "platform/folder_picker.hpp"

namespace zvkob::win32 {

// Which of the shell's folder dialogs to show.
enum class FolderDialog {
    newer,    // the Explorer-style dialog (IFileOpenDialog), the older one where it fails
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
