#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <string>
#include <vector>

#include "core/controls.hpp"
#include "platform/win32/windows/control_windows.hpp"
#include "platform/win32/windows/top_level_window.hpp"

namespace zvkob::win32 {

// The tooltips of a window's controls, each showing its control's current tip.
class ControlTooltips {
public:
    ControlTooltips(const TopLevelWindow& window, const ControlSet& controls,
                    const ControlWindows& children)
        : window_(window), controls_(controls), children_(children) {}

    // Creates the tooltip control with one tool per control.
    void create();
    // Shows the tip control `index` of the table has now.
    void apply(std::size_t index);

private:
    TTTOOLINFOW tool_of(std::size_t index);

    const TopLevelWindow& window_;
    const ControlSet& controls_;
    const ControlWindows& children_;
    HWND tooltip_ = nullptr;
    std::vector<std::wstring> tip_texts_;  // the tooltip control reads them in place
};

}  // namespace zvkob::win32
