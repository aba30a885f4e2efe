#include "platform/win32/notification_area/tray_icon_image.hpp"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/notification_area/tray_mark_image.hpp"
#include "platform/win32/windows/screen_placement.hpp"

namespace zvkob::win32 {
namespace {

constexpr int program_icon = 1;

using Pixels = std::vector<std::uint32_t>;  // 0xAARRGGBB, rows top-down

// A top-down 32-bit bitmap whose pixels the program reads and writes directly.
BitmapHandle pixel_bitmap(int size, std::uint32_t*& bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    bits = static_cast<std::uint32_t*>(pixels);
    return bitmap;
}

// The icon as DrawIconEx paints it over black (BLACKNESS) or white (WHITENESS).
std::optional<Pixels> painted_over(HICON icon, int size, DWORD background) {
    const MemoryDc dc(CreateCompatibleDC(nullptr));
    std::uint32_t* bits = nullptr;
    const BitmapHandle bitmap = pixel_bitmap(size, bits);
    if (!dc || !bitmap || bits == nullptr) {
        return std::nullopt;
    }
    const HGDIOBJ before = SelectObject(dc.get(), bitmap.get());
    const bool painted =
        PatBlt(dc.get(), 0, 0, size, size, background) != FALSE &&
        DrawIconEx(dc.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL) != FALSE;
    GdiFlush();
    SelectObject(dc.get(), before);
    if (!painted) {
        return std::nullopt;
    }
    return Pixels(bits, bits + static_cast<std::size_t>(size) * size);
}

// Any icon, whether it has an alpha channel, a mask or both, as pixels with
// alpha: a pixel shows black through as much as white.
std::optional<Pixels> icon_pixels(HICON icon, int size) {
    const auto on_black = painted_over(icon, size, BLACKNESS);
    const auto on_white = painted_over(icon, size, WHITENESS);
    if (!on_black || !on_white) {
        return std::nullopt;
    }
    Pixels pixels(on_black->size());
    for (std::size_t at = 0; at < pixels.size(); ++at) {
        int shown_through = 0;
        for (const int shift : {0, 8, 16}) {
            shown_through += static_cast<int>((*on_white)[at] >> shift & 0xFFU) -
                             static_cast<int>((*on_black)[at] >> shift & 0xFFU);
        }
        const int alpha = std::clamp(255 - shown_through / 3, 0, 255);
        std::uint32_t pixel = static_cast<std::uint32_t>(alpha) << 24;
        for (const int shift : {0, 8, 16}) {
            const int premultiplied = static_cast<int>((*on_black)[at] >> shift & 0xFFU);
            const int straight = alpha == 0 ? 0 : std::min(255, premultiplied * 255 / alpha);
            pixel |= static_cast<std::uint32_t>(straight) << shift;
        }
        pixels[at] = pixel;
    }
    return pixels;
}

IconHandle icon_from(const Pixels& pixels, int size) {
    std::uint32_t* bits = nullptr;
    const BitmapHandle colour = pixel_bitmap(size, bits);
    // Ignored where the colour has alpha, but an icon must have one; rows are whole words.
    const std::vector<std::uint8_t> clear((static_cast<std::size_t>(size) + 15) / 16 * 2 * size);
    const BitmapHandle mask(CreateBitmap(size, size, 1, 1, clear.data()));
    if (!colour || bits == nullptr || !mask) {
        return IconHandle();
    }
    std::copy(pixels.begin(), pixels.end(), bits);
    ICONINFO info{TRUE, 0, 0, mask.get(), colour.get()};
    return IconHandle(CreateIconIndirect(&info));  // copies both bitmaps
}

}  // namespace

// The taskbar may be on another screen than the window, with a DPI of its own.
int notification_icon_size() {
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    const unsigned dpi = taskbar != nullptr
                             ? monitor_dpi(MonitorFromWindow(taskbar, MONITOR_DEFAULTTOPRIMARY))
                             : system_dpi();
    const int size = GetSystemMetricsForDpi(SM_CXSMICON, dpi == 0 ? USER_DEFAULT_SCREEN_DPI : dpi);
    return size > 0 ? size : 16;
}

IconHandle marked_icon(TrayMark mark, int size) {
    const IconHandle own(
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(program_icon),
                                      IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    const HICON base = own ? own.get() : LoadIconW(nullptr, IDI_APPLICATION);  // shared: not ours
    Pixels pixels = base != nullptr ? icon_pixels(base, size).value_or(Pixels{}) : Pixels{};
    pixels.resize(static_cast<std::size_t>(size) *
                  size);  // the mark alone when none could be drawn
    draw_tray_mark(pixels, size, mark);
    return icon_from(pixels, size);
}

}  // namespace zvkob::win32
