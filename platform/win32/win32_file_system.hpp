#pragma once
#include "platform/file_system.hpp"

namespace zvkob::win32 {

class Win32FileSystem : public FileSystem {
public:
    bool is_file(std::string_view path) override;
};

}  // namespace zvkob::win32
