#include "platform/win32/settings_window_show.hpp"

#include "core/controls.hpp"
#include "core/window_frame.hpp"
#include "platform/win32/message_loop.hpp"
#include "platform/win32/window_host.hpp"

namespace zvkob::win32 {

void show_settings_window(HWND owner, EventGate& gate) {
    static const WindowSpec empty_settings{.name = "ZV_KOB_SETTINGS",
                                           .caption = "TARLOWEN - ZV-KOB - SETTINGS",
                                           .border = Border::fixed_dialog,
                                           .minimize_box = false,
                                           .controls = {}};
    ControlSet controls(empty_settings);
    WindowFrame frame;
    frame.set_caption(empty_settings.caption);
    WindowHost host({controls, frame, {}}, gate, owner);
    frame.set_size(12105, 6750);
    frame.set_position(1000, 1000);
    host.on_close = [&] {
        EnableWindow(owner, TRUE);  // before the window goes, so the owner is activated again
        host.destroy();
    };
    host.show();
    run_modal(host.handle(), owner);
}

}  // namespace zvkob::win32
