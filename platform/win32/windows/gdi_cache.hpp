#pragma once
#include <windows.h>

#include <map>
#include <tuple>

#include "core/colours.hpp"
#include "core/control_table.hpp"

namespace zvkob::win32 {

// Fonts and brushes made once and deleted with the window that uses them.
class GdiCache {
public:
    GdiCache() = default;
    ~GdiCache() { clear(); }
    GdiCache(const GdiCache&) = delete;
    GdiCache& operator=(const GdiCache&) = delete;

    HFONT font(const Font& font, UINT dpi);
    HBRUSH brush(Colour colour);
    void clear();

private:
    std::map<std::tuple<std::wstring, double, int, UINT>, HFONT> fonts_;
    std::map<Colour, HBRUSH> brushes_;
};

}  // namespace zvkob::win32
