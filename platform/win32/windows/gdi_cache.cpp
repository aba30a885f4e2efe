#include "platform/win32/windows/gdi_cache.hpp"

#include "platform/win32/windows/dpi_scale.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {

HFONT GdiCache::font(const Font& font, UINT dpi) {
    const auto key = std::make_tuple(widen(font.face), font.points, font.weight, dpi);
    const auto found = fonts_.find(key);
    if (found != fonts_.end()) {
        return found->second;
    }
    HFONT made =
        CreateFontW(-points_to_pixels(font.points, dpi), 0, 0, 0, font.weight, FALSE, FALSE, FALSE,
                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    DEFAULT_PITCH | FF_DONTCARE, std::get<0>(key).c_str());
    fonts_.emplace(key, made);
    return made;
}

HBRUSH GdiCache::brush(Colour colour) {
    const auto found = brushes_.find(colour);
    if (found != brushes_.end()) {
        return found->second;
    }
    HBRUSH made = CreateSolidBrush(colour);
    brushes_.emplace(colour, made);
    return made;
}

void GdiCache::clear() {
    for (const auto& [key, font] : fonts_) {
        DeleteObject(font);
    }
    for (const auto& [key, brush] : brushes_) {
        DeleteObject(brush);
    }
    fonts_.clear();
    brushes_.clear();
}

}  // namespace zvkob::win32
