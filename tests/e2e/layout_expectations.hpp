#pragma once
// Checks that a real control stands where its window's table puts it.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/control_table.hpp"
#include "driver.hpp"

namespace zvkob::e2e {

// Visible as designed and, when visible, at the designed rectangle (a line
// of no thickness is drawn one pixel thick).
inline void expect_at_designed_place(HWND item, const ControlSpec& design, UINT dpi) {
    SCOPED_TRACE(std::string(design.name));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(visible(item), design.visible);
    if (!design.visible) {
        return;
    }
    const RECT rect = rect_in_parent(item);
    EXPECT_EQ(rect.left, pixels(design.rect.left, dpi));
    EXPECT_EQ(rect.top, pixels(design.rect.top, dpi));
    EXPECT_EQ(rect.right - rect.left, std::max(1, pixels(design.rect.width, dpi)));
    EXPECT_EQ(rect.bottom - rect.top, std::max(1, pixels(design.rect.height, dpi)));
}

}  // namespace zvkob::e2e

namespace zvkob::e2e {

// Where a user finds a control on the test screen (96 dpi), in pixels of its
// window's client area, and what it reads: written out, not worked out.
struct SeenControl {
    const ControlSpec& design;
    RECT rect;  // left, top, width, height
    std::wstring_view caption;
};

inline void expect_seen(HWND window, const WindowSpec& layout,
                        std::initializer_list<SeenControl> controls) {
    ASSERT_EQ(dpi_of(window), 96U) << "the test screen's dpi, which the pixels below are at";
    for (const SeenControl& seen : controls) {
        HWND item = control(window, layout, seen.design);
        const RECT rect = rect_in_parent(item);
        EXPECT_EQ(rect.left, seen.rect.left) << seen.design.name;
        EXPECT_EQ(rect.top, seen.rect.top) << seen.design.name;
        EXPECT_EQ(rect.right - rect.left, seen.rect.right) << seen.design.name;
        EXPECT_EQ(rect.bottom - rect.top, seen.rect.bottom) << seen.design.name;
        EXPECT_EQ(text(item), seen.caption) << seen.design.name;
    }
}

}  // namespace zvkob::e2e
