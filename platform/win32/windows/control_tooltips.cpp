#include "platform/win32/windows/control_tooltips.hpp"

#include <commctrl.h>

#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {

void ControlTooltips::create() {
    if (tooltip_ != nullptr) {
        return;
    }
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_.handle(),
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
    tip_texts_.assign(children_.count(), std::wstring());
    for (std::size_t index = 0; index < children_.count(); ++index) {
        tip_texts_[index] = widen(controls_.all()[index]->tooltip());
        TTTOOLINFOW tool = tool_of(index);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void ControlTooltips::apply(std::size_t index) {
    if (tooltip_ == nullptr || !window_.exists()) {
        return;
    }
    const std::wstring tip = widen(controls_.all()[index]->tooltip());
    if (tip_texts_[index] == tip) {
        return;
    }
    tip_texts_[index] = tip;
    TTTOOLINFOW tool = tool_of(index);
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

TTTOOLINFOW ControlTooltips::tool_of(std::size_t index) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window_.handle();
    tool.uId = reinterpret_cast<UINT_PTR>(children_.child(index));
    tool.lpszText = tip_texts_[index].data();
    return tool;
}

}  // namespace zvkob::win32
