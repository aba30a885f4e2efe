#pragma once
#include "platform/log_files.hpp"

namespace zvkob::win32 {

// Appends in a way that lets an editor read the file meanwhile.
class Win32LogFiles : public LogFiles {
public:
    std::optional<std::uint64_t> size(std::string_view path) override;
    Outcome append(std::string_view path, std::string_view bytes) override;
    Outcome replace(std::string_view from, std::string_view to) override;
};

}  // namespace zvkob::win32
