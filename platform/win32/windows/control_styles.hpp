#pragma once
#include <windows.h>

#include "core/control_table.hpp"

namespace zvkob::win32 {

// The standard Windows control that shows a control of the table, and its
// styles as the design asks for them.
const wchar_t* control_class(ControlKind kind);
DWORD control_style(const ControlSpec& design);

}  // namespace zvkob::win32
