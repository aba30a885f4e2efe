#include "platform/win32/files/win32_folder_picker.hpp"

#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/owners.hpp"
#include "platform/win32/processes/program_windows.hpp"
#include "platform/win32/system_library.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

// shell32 is loaded on the first pick, not at every start.
SystemLibrary& shell32() {
    static SystemLibrary library(L"shell32.dll");
    library.load();
    return library;
}

// Like FolderChoice, and whether the newer dialog could not be used at all.
struct Attempt {
    FolderChoice choice;
    bool unusable = false;
};

Attempt unusable(std::string why) {
    return {{std::nullopt, std::move(why)}, true};
}

std::string hresult_text(HRESULT result) {
    return system_error_text(static_cast<DWORD>(result));
}

Attempt pick_with_newer_dialog(HWND owner, const std::wstring& title, const std::wstring& start) {
    const auto item_from_path =
        shell32().function<decltype(&SHCreateItemFromParsingName)>("SHCreateItemFromParsingName");
    ComRef<IFileOpenDialog> dialog;
    HRESULT result = CoCreateInstance(__uuidof(FileOpenDialog), nullptr, CLSCTX_INPROC_SERVER,
                                      IID_PPV_ARGS(dialog.receive()));
    if (FAILED(result)) {
        return unusable("the folder dialog could not be created: " + hresult_text(result));
    }
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    dialog->SetTitle(title.c_str());
    ComRef<IShellItem> folder;
    if (!start.empty() && item_from_path != nullptr &&
        SUCCEEDED(item_from_path(start.c_str(), nullptr, IID_PPV_ARGS(folder.receive())))) {
        dialog->SetFolder(folder.get());
    }
    result = dialog->Show(owner);
    if (result == HRESULT_FROM_WIN32(ERROR_CANCELLED)) {
        return {};
    }
    if (FAILED(result)) {
        return unusable("the folder dialog could not be shown: " + hresult_text(result));
    }
    ComRef<IShellItem> chosen;
    ComMemory<wchar_t> path;
    result = dialog->GetResult(chosen.receive());
    if (SUCCEEDED(result)) {
        result = chosen->GetDisplayName(SIGDN_FILESYSPATH, path.receive());
    }
    if (FAILED(result)) {
        return {{std::nullopt, "Windows does not tell the folder chosen: " + hresult_text(result)}};
    }
    return {{narrow(path.get()), {}}};
}

// Opens on the folder asked for; Enter then accepts it.
int CALLBACK on_tree_event(HWND dialog, UINT message, LPARAM, LPARAM start) {
    if (message == BFFM_INITIALIZED && start != 0) {
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, start);
    }
    return 0;
}

FolderChoice pick_with_folder_tree(HWND owner, const std::wstring& title,
                                   const std::wstring& start) {
    const auto browse = shell32().function<decltype(&SHBrowseForFolderW)>("SHBrowseForFolderW");
    const auto path_of =
        shell32().function<decltype(&SHGetPathFromIDListEx)>("SHGetPathFromIDListEx");
    if (browse == nullptr || path_of == nullptr) {
        return {std::nullopt, "This Windows has no folder dialog: " + shell32().failure()};
    }
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = on_tree_event;
    info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    const ComMemory<ITEMIDLIST> chosen(browse(&info));
    if (!chosen) {
        return {};  // cancelled
    }
    std::wstring path(32'768, L'\0');
    if (!path_of(chosen.get(), path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT)) {
        return {std::nullopt, "The folder chosen is not on a drive: choose a folder of a drive."};
    }
    path.resize(wcslen(path.c_str()));
    return {narrow(path), {}};
}

}  // namespace

FolderChoice Win32FolderPicker::pick(std::string_view title, std::string_view start_folder) {
    const HWND owner = message_owner_window();
    const std::wstring wide_title = widen(title);
    std::wstring start = widen(start_folder);
    if (!start.empty() && GetFileAttributesW(start.c_str()) == INVALID_FILE_ATTRIBUTES) {
        start.clear();  // a folder since removed: the dialog opens where it likes
    }
    if (dialog_ == FolderDialog::newer) {
        Attempt attempt = pick_with_newer_dialog(owner, wide_title, start);
        if (!attempt.unusable) {
            return attempt.choice;
        }
    }
    return pick_with_folder_tree(owner, wide_title, start);
}

}  // namespace zvkob::win32
