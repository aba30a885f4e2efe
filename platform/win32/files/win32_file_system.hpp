#pragma once
#include "platform/file_system.hpp"

namespace zvkob::win32 {

class Win32FileSystem : public FileSystem {
public:
    bool is_file(std::string_view path) override;
    FileEnd read_end(std::string_view path, std::size_t bytes) override;
    std::optional<std::string> read_text(std::string_view path, TextCoding coding) override;
    OwnFile read_own_file(std::string_view path) override;
    OpenedFile open_shared(std::string_view path) override;
    bool is_folder(std::string_view path) override;
    FolderNames names_in(std::string_view folder) override;
    FreeSpace free_space(std::string_view folder) override;
    std::string resolve_folder(std::string_view folder) override;
    FolderSize folder_size(std::string_view folder, std::int64_t time_limit_ms) override;
};

}  // namespace zvkob::win32
