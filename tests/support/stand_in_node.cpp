// A stand-in for a node program in tests. It writes the arguments it was
// given, one per line in UTF-8, to "<its own path>.args", then keeps running
// until a file "<its own path>.stop" appears (which it removes) or it is
// killed. Copied under another file name it has that image name.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

std::wstring own_path() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

void record_arguments(const std::wstring& file) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring lines;
    for (int i = 1; arguments != nullptr && i < count; ++i) {
        lines += arguments[i];
        lines += L"\n";
    }
    LocalFree(arguments);
    const int size = WideCharToMultiByte(CP_UTF8, 0, lines.data(), static_cast<int>(lines.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, lines.data(), static_cast<int>(lines.size()), utf8.data(), size,
                        nullptr, nullptr);
    // Written beside, then moved in place, so a reader never sees half a list.
    const std::wstring partial = file + L".partial";
    HANDLE out = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(out);
    MoveFileExW(partial.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring self = own_path();
    const std::wstring stop = self + L".stop";
    DeleteFileW(stop.c_str());
    record_arguments(self + L".args");
    while (GetFileAttributesW(stop.c_str()) == INVALID_FILE_ATTRIBUTES) {
        Sleep(100);
    }
    DeleteFileW(stop.c_str());
    return 0;
}
