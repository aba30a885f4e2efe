#pragma once
#include <windows.h>

#include "platform/clipboard.hpp"

namespace zvkob::win32 {

// The clipboard as CF_UNICODETEXT, owned by ZV-KOB's main window. Windows
// lets one window open it at a time: while another program holds it, it is
// asked again every 25 ms for a quarter of a second, then "busy".
class Win32Clipboard : public Clipboard {
public:
    ClipboardPut put_text(std::string_view text) override;
};

}  // namespace zvkob::win32
