#include "platform/win32/windows/frame_placement.hpp"

#include "core/window_placement.hpp"
#include "platform/win32/windows/screen_placement.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {

UINT FramePlacement::read_dpi() {
    dpi_ = GetDpiForWindow(window_.handle());
    if (dpi_ == 0) {
        dpi_ = 96;
    }
    return dpi_;
}

void FramePlacement::apply_frame() {
    if (!window_.exists() || writing_.active()) {
        return;
    }
    const ViewWriting::Mark writing(writing_);
    const HWND hwnd = window_.handle();
    SetWindowTextW(hwnd, widen(frame_.caption()).c_str());
    if (frame_.width() <= 0 || frame_.height() <= 0) {
        return;  // not placed yet: the load sets position and size
    }
    const unsigned positions_dpi = system_dpi();
    const PixelRect placed = opening_rect(frame_, positions_dpi, desktop_monitors());
    SetWindowPos(hwnd, nullptr, placed.left, placed.top, placed.width(), placed.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (placed.left != twips_to_pixels(frame_.left(), positions_dpi) ||
        placed.top != twips_to_pixels(frame_.top(), positions_dpi)) {
        frame_.set_position(pixels_to_twips(placed.left, positions_dpi),
                            pixels_to_twips(placed.top, positions_dpi));
    }
}

// A position the user moved the window to goes back to the model, at the
// system DPI whatever monitor it is on; a window still where the model put it
// keeps the model's twips exactly, so an unmoved window stores the very
// position it was given.
void FramePlacement::keep_moved_position() {
    if (writing_.active() || !window_.exists() || IsIconic(window_.handle())) {
        return;
    }
    RECT now{};
    GetWindowRect(window_.handle(), &now);
    const unsigned positions_dpi = system_dpi();
    if (twips_to_pixels(frame_.left(), positions_dpi) == now.left &&
        twips_to_pixels(frame_.top(), positions_dpi) == now.top) {
        return;
    }
    const ViewWriting::Mark writing(writing_);
    frame_.set_position(pixels_to_twips(now.left, positions_dpi),
                        pixels_to_twips(now.top, positions_dpi));
}

// Sizes follow the monitor's DPI. A window that ZV-KOB itself is placing on
// another monitor already has the size for it there; one the user dragged
// there goes where Windows suggests, at the size for its new DPI.
void FramePlacement::dpi_changed(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    const bool placing = writing_.active();
    {
        const ViewWriting::Mark writing(writing_);
        if (!placing) {
            SetWindowPos(window_.handle(), nullptr, suggested.left, suggested.top,
                         twips_to_pixels(frame_.width(), dpi_),
                         twips_to_pixels(frame_.height(), dpi_), SWP_NOZORDER | SWP_NOACTIVATE);
        }
        controls_.place(dpi_);
    }
    if (!placing) {
        keep_moved_position();
    }
}

}  // namespace zvkob::win32
