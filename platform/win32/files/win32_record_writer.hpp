#pragma once
#include "platform/record_writer.hpp"

namespace zvkob::win32 {

// Written and flushed beside the file, then moved over it.
class Win32RecordWriter : public RecordWriter {
public:
    Outcome replace_whole(std::string_view path, std::string_view bytes) override;
    Outcome remove(std::string_view path) override;
};

}  // namespace zvkob::win32
